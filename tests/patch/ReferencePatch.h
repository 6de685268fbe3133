#pragma once
// Plain appliers written straight from the two layouts, sharing nothing with
// the editor's reader: the round trips also run every patch our writer makes
// through them, so that writer and reader cannot agree on a wrong reading.
// They trust their input (test patches only) and give an empty vector for
// anything they do not understand.
#include <cstdint>
#include <vector>

namespace reference {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ApplyIps(const Bytes& patch, Bytes image)
{
    std::size_t at = 5;
    for (;;) {
        if (at + 3 > patch.size())
            return {};
        if (patch[at] == 'E' && patch[at + 1] == 'O' && patch[at + 2] == 'F')
            break;
        const std::size_t offset = std::size_t(patch[at]) * 65536 + std::size_t(patch[at + 1]) * 256 + patch[at + 2];
        std::size_t size = std::size_t(patch[at + 3]) * 256 + patch[at + 4];
        at += 5;
        if (size > 0) {
            for (std::size_t k = 0; k < size; ++k) {
                if (image.size() <= offset + k)
                    image.resize(offset + k + 1, 0);
                image[offset + k] = patch[at + k];
            }
            at += size;
        } else {
            size = std::size_t(patch[at]) * 256 + patch[at + 1];
            for (std::size_t k = 0; k < size; ++k) {
                if (image.size() <= offset + k)
                    image.resize(offset + k + 1, 0);
                image[offset + k] = patch[at + 2];
            }
            at += 3;
        }
    }
    at += 3;
    if (at + 3 == patch.size()) {
        const std::size_t length = std::size_t(patch[at]) * 65536 + std::size_t(patch[at + 1]) * 256 + patch[at + 2];
        if (length < image.size())
            image.resize(length);
    }
    return image;
}

inline std::uint64_t Number(const Bytes& patch, std::size_t& at)
{
    std::uint64_t data = 0, shift = 1;
    for (;;) {
        const std::uint8_t x = patch[at++];
        data += (x & 0x7F) * shift;
        if (x & 0x80)
            return data;
        shift <<= 7;
        data += shift;
    }
}

inline Bytes ApplyBps(const Bytes& patch, const Bytes& source)
{
    std::size_t at = 4;
    Number(patch, at); // source size
    const std::uint64_t targetSize = Number(patch, at);
    at += Number(patch, at); // metadata
    Bytes target;
    std::int64_t sourceRelative = 0, targetRelative = 0;
    while (at < patch.size() - 12) {
        const std::uint64_t data = Number(patch, at);
        const std::uint64_t length = (data >> 2) + 1;
        switch (data & 3) {
        case 0:
            for (std::uint64_t k = 0; k < length; ++k)
                target.push_back(source.at(target.size()));
            break;
        case 1:
            for (std::uint64_t k = 0; k < length; ++k)
                target.push_back(patch[at++]);
            break;
        default: {
            const std::uint64_t offset = Number(patch, at);
            const std::int64_t delta = (offset & 1) ? -std::int64_t(offset >> 1) : std::int64_t(offset >> 1);
            std::int64_t& relative = (data & 3) == 2 ? sourceRelative : targetRelative;
            relative += delta;
            for (std::uint64_t k = 0; k < length; ++k)
                target.push_back((data & 3) == 2 ? source.at(std::size_t(relative++)) : target.at(std::size_t(relative++)));
        }
        }
    }
    return target.size() == targetSize ? target : Bytes();
}

} // namespace reference
