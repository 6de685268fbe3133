#pragma once
// The game's password codec: PasswordSettings to eight characters over
// "0123456789BDFGJK" and, for typed passwords, back again.
#include "password/PasswordSettings.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

// The password as eight 4-bit values; nibble 0 is the leftmost character.
using PasswordNibbles = std::array<std::int16_t, 8>;

inline constexpr char PasswordAlphabet[] = "0123456789BDFGJK";

// 32 (nibble, mask) pairs, a permutation of the password's 32 bits. Pairs
// 0-7 carry the checksum, 8-14 SectorCode, 15-24 ProgressCode, 25-30
// RationFlags; pair 31 (nibble 1, mask 1) is always 0 before keying.
inline constexpr std::array<std::int16_t, 64> BitPlacement = {
    4, 1, 4, 2, 3, 1, 3, 2, 4, 4, 4, 8, 3, 4, 3, 8,           // checksum bits 0-7
    2, 1, 0, 1, 7, 1, 5, 1, 6, 1, 6, 2, 6, 4,                 // SectorCode bits 0-6
    1, 2, 1, 4, 2, 2, 2, 4, 0, 2, 0, 4, 7, 2, 7, 4, 5, 2, 5, 4, // ProgressCode bits 0-9
    1, 8, 2, 8, 0, 8, 7, 8, 5, 8, 6, 8,                       // RationFlags bits 0-5
    1, 1,                                                     // unused, always 0
};

// Entry runs of BitPlacement (first, last; both even) for each code.
inline constexpr int ChecksumFirst = 0, ChecksumLast = 14;
inline constexpr int SectorFirst = 16, SectorLast = 28;
inline constexpr int ProgressFirst = 30, ProgressLast = 48;
inline constexpr int RationFirst = 50, RationLast = 60;

// Logical right shift: vacated high bits are 0 also for negative values.
// Shift is meant to lie in 1..30; 0 or less returns Value, 32 or more gives 0.
std::int32_t RShiftLong(std::int32_t Value, std::int16_t Shift);

// ORs the low bits of `value` into `nibbles` along BitPlacement entries
// first..last (both even), lowest bit first; never clears a bit.
void PutBits(PasswordNibbles& nibbles, std::int16_t first, std::int16_t last, std::int32_t value);

// Reads the bits placed along entries first..last back into a number.
std::int32_t GetBits(const PasswordNibbles& nibbles, int first, int last);

// Low 8 bits of the sum of all eight nibbles.
std::int32_t NibbleChecksum(const PasswordNibbles& nibbles);

// Steps 1-5 of encoding: the codes and their checksum placed, not yet keyed.
PasswordNibbles PlaceCodes(std::int32_t sectorCode, std::int32_t progressCode, std::int32_t rationFlags);
PasswordNibbles PreKeyNibbles(const PasswordSettings& settings);

// Adds KeyTable[off + 7 - i] (off = nibble 4) to every nibble but 4, modulo 16.
void ApplyKey(PasswordNibbles& nibbles);
// The inverse of ApplyKey.
void RemoveKey(PasswordNibbles& nibbles);

QString NibblesToText(const PasswordNibbles& nibbles);

// The eight-character password of `settings`.
QString MakePassword(const PasswordSettings& settings);

// The settings a password carries, or nothing when `text` is not exactly
// eight alphabet characters (upper case) or fails any check: the always-zero
// bit, the checksum, a sector code outside sectors 1-7 or with a remainder
// above 9 in its block of 15, a progress code above 728.
std::optional<PasswordSettings> DecodePassword(QStringView text);

// A password as a person types or pastes it: the ASCII letters a to z count
// as their upper-case forms (only these: no other character changes case,
// so nothing can grow into two letters), and the text must then be exactly
// eight alphabet characters.
std::optional<PasswordSettings> DecodeTypedPassword(QStringView text);
