// libFuzzer entry: every input is taken as a cartridge image and walked as
// the editor would walk it.
#include "ImageWalk.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vorned-fuzz-XXXXXX"));
    RomBytes rom(std::vector<std::uint8_t>(data, data + size));
    std::uint32_t seed = 0;
    for (std::size_t i = 0; i < size && i < 4; ++i)
        seed = seed * 256 + data[size - 1 - i];
    // Every zone, with a few of its rooms and pages: drawing all of them
    // under the sanitizers costs seconds per input; the foreign-image tests
    // walk them all.
    WalkOptions options;
    options.Rooms = 2;
    options.Pages = 2;
    options.SavePath = dir.filePath(QStringLiteral("walk.nes"));
    const WalkResult result = WalkImage(rom, seed, options);
    if (!result.SavedIdentical)
        std::abort();
    return 0;
}
