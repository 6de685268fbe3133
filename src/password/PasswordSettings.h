#pragma once
// The game state a password carries, and the three numeric codes the
// encoder derives from it.
#include <array>
#include <cstdint>

struct PasswordSettings {
    std::int16_t Sector = 0;                 // 0..6, shown as "1".."7"
    std::int16_t Rations = 0;                // 0..4
    bool Expert = false;                     // skill "Expert" (else "Normal")
    std::array<std::int16_t, 6> Progress{};  // per sector: 0 Active, 1 ID Aquired, 2 Disarmed
    std::array<bool, 6> RationGained{};      // per sector: its ration was gained

    friend bool operator==(const PasswordSettings&, const PasswordSettings&) = default;
};

// 15 * Sector + Rations, plus 5 for Expert: 0..99, only 0..9 within each block of 15.
constexpr std::int32_t SectorCode(const PasswordSettings& s)
{
    return 15 * s.Sector + s.Rations + (s.Expert ? 5 : 0);
}

// The six progress states as a base-3 number, sector 1 the lowest digit: 0..728.
constexpr std::int32_t ProgressCode(const PasswordSettings& s)
{
    std::int32_t code = 0;
    for (int i = 5; i >= 0; --i)
        code = 3 * code + s.Progress[i];
    return code;
}

// Bit i set when the ration of sector i+1 was gained: 0..63.
constexpr std::int32_t RationFlags(const PasswordSettings& s)
{
    std::int32_t flags = 0;
    for (int i = 0; i < 6; ++i)
        if (s.RationGained[i])
            flags |= 1 << i;
    return flags;
}
