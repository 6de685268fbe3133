#pragma once
// A byte as eight "0"/"1" characters, most significant bit first.
#include <QString>
#include <cstdint>

QString ByteToBinary(std::uint8_t value);
