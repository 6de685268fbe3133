#pragma once
// The key added to the password nibbles after the checksum is placed.
#include <array>
#include <cstdint>

// This editor's own table of 23 values (0..15). The game keys its passwords
// with a table of the same shape; put the game's values here to produce
// passwords the game accepts. Nothing else in the program depends on these
// particular values: the encoder and decoder only index into the table.
inline constexpr std::array<std::int16_t, 23> KeyTable = {
    7, 12, 3, 9, 14, 1, 10, 5, 15, 2, 8, 13, 4, 11, 6, 0, 9, 3, 14, 7, 12, 1, 10,
};
