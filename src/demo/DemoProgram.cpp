#include "demo/DemoProgram.h"

#include "rom/ZoneTable.h"

#include <cassert>

namespace demo {

std::vector<std::uint8_t> ViewerCode()
{
    const ViewerProgram& p = Viewer();
    std::vector<std::uint8_t> code(p.Code.begin(), p.Code.end());
    const std::size_t facts = p.ZoneFacts - ViewerCodeAddress;
    assert(facts + ZoneFactArrays * ZoneCount <= code.size());
    for (int z = 0; z < ZoneCount; ++z) {
        const ZoneConstants& c = ZoneConstantsTable[static_cast<std::size_t>(z)];
        const std::uint32_t values[3] = {static_cast<std::uint32_t>(c.HeaderOffset),
                                         static_cast<std::uint32_t>(c.PaletteTable),
                                         static_cast<std::uint32_t>(c.TileBank)};
        for (int v = 0; v < 3; ++v)
            for (int b = 0; b < 3; ++b)
                code[facts + static_cast<std::size_t>((3 * v + b) * ZoneCount + z)] =
                    static_cast<std::uint8_t>(values[v] >> (8 * b));
        code[facts + static_cast<std::size_t>(9 * ZoneCount + z)] = static_cast<std::uint8_t>(c.LastRoom);
    }
    return code;
}

std::array<ByteRange, 2> ViewerRanges()
{
    return {ByteRange{ViewerCodeOffset, static_cast<std::int64_t>(Viewer().Code.size())},
            ByteRange{ViewerVectorsOffset, ViewerVectorBytes}};
}

ViewerMatch MatchViewer(const RomBytes& rom)
{
    ViewerMatch m;
    const std::vector<std::uint8_t> code = ViewerCode();
    const auto count = [&](std::int64_t offset, std::span<const std::uint8_t> bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            ++m.Total;
            if (rom.read(offset + static_cast<std::int64_t>(i)) == bytes[i])
                ++m.Equal;
        }
    };
    count(ViewerCodeOffset, code);
    count(ViewerVectorsOffset, Viewer().Vectors);
    return m;
}

} // namespace demo
