// libFuzzer entry for the patch formats. The first byte chooses what the
// rest of the input is:
//  even: a patch, applied to a fixed image of 4,096 bytes, with and without
//        forcing, and inspected; applying and inspecting must agree;
//  odd:  two images (the next two bytes tell where the first ends); patches
//        made between them in both formats must give back the second.
#include "patch/Patch.h"
#include "rom/RomFile.h"

#include <cstdlib>
#include <vector>

namespace {
[[noreturn]] void Broken()
{
    std::abort();
}

const std::vector<std::uint8_t>& FixedImage()
{
    static const std::vector<std::uint8_t> image = [] {
        std::vector<std::uint8_t> bytes(4096);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = std::uint8_t(i * 7 + i / 256);
        return bytes;
    }();
    return image;
}

void ApplyAndInspect(ByteView patch)
{
    const ByteView image(FixedImage());
    QString error;
    const PatchApplyResult plain = ApplyPatch(patch, image, {}, error);
    PatchApplyOptions force;
    force.ignoreSourceMismatch = true;
    const PatchApplyResult forced = ApplyPatch(patch, image, force, error);
    const std::optional<PatchInfo> info = InspectPatch(patch, image, error);
    for (const PatchApplyResult* r : {&plain, &forced})
        if (r->image && (r->image->empty() || std::int64_t(r->image->size()) > MaxRomFileSize))
            Broken();
    // What applies without forcing also applies when forced, to the same bytes.
    if (plain.image && (!forced.image || *forced.image != *plain.image))
        Broken();
    if (plain.image && (!info || !info->applies || info->resultSize != std::int64_t(plain.image->size())))
        Broken();
}

void RoundTrip(ByteView original, ByteView modified)
{
    if (modified.empty())
        return;
    for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        QString error;
        const std::optional<ByteVector> patch = CreatePatch(format, original, modified, error);
        if (!patch)
            Broken();
        if (DetectPatchFormat(*patch) != format)
            Broken();
        const PatchApplyResult result = ApplyPatch(*patch, original, {}, error);
        if (!result.image || !std::equal(result.image->begin(), result.image->end(), modified.begin(), modified.end()))
            Broken();
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const ByteView rest(data + 1, size - 1);
    if ((data[0] & 1) == 0) {
        ApplyAndInspect(rest);
        return 0;
    }
    if (rest.size() < 2)
        return 0;
    const std::size_t cut = std::min<std::size_t>(rest.size() - 2, std::size_t(rest[0]) | std::size_t(rest[1]) << 8);
    const ByteView images = rest.subspan(2);
    RoundTrip(images.first(cut), images.subspan(cut));
    return 0;
}
