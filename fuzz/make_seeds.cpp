// Writes the fuzzer's seed inputs into a folder: the demo cartridge, copies of
// it cut inside a zone header, a pointer table, a room and a tile block, an
// empty file and deterministic random bytes; and, in FOLDER-patch, seeds of
// the patch fuzzer.
#include "patch/Patch.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {
bool Write(const QString& path, const std::vector<std::uint8_t>& bytes, std::int64_t length)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
        && f.write(reinterpret_cast<const char*>(bytes.data()), length) == length;
}
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const RomBytes demo = MakeDemoCartridge();
    ZoneTableArray zones{};
    BuildZoneTable(demo, zones);
    const std::vector<std::uint8_t>& bytes = demo.bytes();

    struct Cut { const char* name; std::int64_t length; };
    std::vector<Cut> cuts = {
        {"demo", demo.size()},
        {"cut-in-zone1-header", 0x4010 + 5},
        {"cut-in-zone7-header", 0xC013 + 3},
        {"cut-in-zone4-room-table", zones[3].RoomTable + 7},
        {"cut-in-zone2-room-layout", ReadRomPointer(demo, zones[1].RoomTable, 3) + 20},
        {"cut-in-zone5-metatile-tiles", zones[4].MetatileTiles + 1000},
        {"cut-in-zone1-tile-block", zones[0].TileBank + 100},
        {"cut-in-zone7-tile-block", zones[6].TileBank + 2049},
        {"cut-in-palette-table", 0x1EE5},
        {"empty", 0},
    };
    bool ok = true;
    for (const Cut& cut : cuts)
        ok &= Write(folder + QLatin1Char('/') + QLatin1String(cut.name), bytes,
                    std::min<std::int64_t>(cut.length, demo.size()));

    std::vector<std::uint8_t> noise(70000);
    std::uint32_t state = 12345;
    for (auto& b : noise) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    ok &= Write(folder + QStringLiteral("/random-bytes"), noise, std::int64_t(noise.size()));

    // Seeds of the patch fuzzer, in a folder of their own: patches between
    // two pieces of the demo (first byte even), and such pairs (first byte odd).
    const QString patches = folder + QStringLiteral("-patch");
    QDir().mkpath(patches);
    const ByteView original(bytes.data() + 0x4000, 3000);
    std::vector<std::uint8_t> changed(original.begin(), original.end());
    for (std::size_t i = 100; i < 400; i += 7)
        changed[i] ^= 0x5A;
    changed.insert(changed.begin() + 1000, 40, 0xEE);
    for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        QString error;
        const auto patch = CreatePatch(format, original, changed, error);
        if (!patch)
            return 1;
        std::vector<std::uint8_t> seed{0};
        seed.insert(seed.end(), patch->begin(), patch->end());
        ok &= Write(patches + (format == PatchFormat::Ips ? QStringLiteral("/ips") : QStringLiteral("/bps")), seed,
                    std::int64_t(seed.size()));
    }
    std::vector<std::uint8_t> pair{1, std::uint8_t(original.size() & 0xFF), std::uint8_t(original.size() >> 8)};
    pair.insert(pair.end(), original.begin(), original.end());
    pair.insert(pair.end(), changed.begin(), changed.end());
    ok &= Write(patches + QStringLiteral("/pair"), pair, std::int64_t(pair.size()));
    return ok ? 0 : 1;
}
