#include "gfx/ByteToBinary.h"

QString ByteToBinary(std::uint8_t value)
{
    QString text;
    text.reserve(8);
    int remainder = value;
    for (int weight = 128; weight > 0; weight /= 2) {
        if (remainder / weight > 0) {
            text += QLatin1Char('1');
            remainder -= weight;
        } else {
            text += QLatin1Char('0');
        }
    }
    return text;
}
