#include "password/PasswordCodec.h"

#include "password/KeyTable.h"

namespace {
// Alphabet position of `c`, or -1.
int SymbolValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    switch (u) {
    case u'B': return 10;
    case u'D': return 11;
    case u'F': return 12;
    case u'G': return 13;
    case u'J': return 14;
    case u'K': return 15;
    default: return -1;
    }
}
}

std::int32_t RShiftLong(std::int32_t Value, std::int16_t Shift)
{
    if (Shift <= 0)
        return Value;
    if (Shift >= 32)
        return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Value) >> Shift);
}

void PutBits(PasswordNibbles& nibbles, std::int16_t first, std::int16_t last, std::int32_t value)
{
    for (int e = first; e <= last; e += 2) {
        if (value & 1)
            nibbles[BitPlacement[e]] |= BitPlacement[e + 1];
        value = RShiftLong(value, 1);
    }
}

std::int32_t GetBits(const PasswordNibbles& nibbles, int first, int last)
{
    std::int32_t value = 0;
    for (int e = last; e >= first; e -= 2) {
        value <<= 1;
        if (nibbles[BitPlacement[e]] & BitPlacement[e + 1])
            value |= 1;
    }
    return value;
}

std::int32_t NibbleChecksum(const PasswordNibbles& nibbles)
{
    std::int32_t sum = 0;
    for (std::int16_t n : nibbles)
        sum += n;
    return sum & 255;
}

PasswordNibbles PlaceCodes(std::int32_t sectorCode, std::int32_t progressCode, std::int32_t rationFlags)
{
    PasswordNibbles nibbles{};
    PutBits(nibbles, SectorFirst, SectorLast, sectorCode);
    PutBits(nibbles, ProgressFirst, ProgressLast, progressCode);
    PutBits(nibbles, RationFirst, RationLast, rationFlags);
    // Nibbles 3 and 4 hold only checksum bits, so they are still 0 here.
    PutBits(nibbles, ChecksumFirst, ChecksumLast, NibbleChecksum(nibbles));
    return nibbles;
}

PasswordNibbles PreKeyNibbles(const PasswordSettings& settings)
{
    return PlaceCodes(SectorCode(settings), ProgressCode(settings), RationFlags(settings));
}

void ApplyKey(PasswordNibbles& nibbles)
{
    const int off = nibbles[4];
    for (int k = 0; k < 8; ++k)
        nibbles[7 - k] = (nibbles[7 - k] + KeyTable[k + off]) & 15;
    nibbles[4] = static_cast<std::int16_t>(off);
}

void RemoveKey(PasswordNibbles& nibbles)
{
    const int off = nibbles[4];
    for (int i = 0; i < 8; ++i)
        if (i != 4)
            nibbles[i] = (nibbles[i] - KeyTable[off + 7 - i]) & 15;
}

QString NibblesToText(const PasswordNibbles& nibbles)
{
    QString text(8, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i)
        text[i] = QLatin1Char(PasswordAlphabet[nibbles[i] & 15]);
    return text;
}

QString MakePassword(const PasswordSettings& settings)
{
    PasswordNibbles nibbles = PreKeyNibbles(settings);
    ApplyKey(nibbles);
    return NibblesToText(nibbles);
}

std::optional<PasswordSettings> DecodePassword(QStringView text)
{
    if (text.size() != 8)
        return std::nullopt;
    PasswordNibbles nibbles{};
    for (int i = 0; i < 8; ++i) {
        const int v = SymbolValue(text[i]);
        if (v < 0)
            return std::nullopt;
        nibbles[i] = static_cast<std::int16_t>(v);
    }
    RemoveKey(nibbles);

    if (nibbles[1] & 1)
        return std::nullopt;
    const std::int32_t checksum = GetBits(nibbles, ChecksumFirst, ChecksumLast);
    PasswordNibbles payload = nibbles;
    payload[3] = 0;
    payload[4] = 0;
    if (NibbleChecksum(payload) != checksum)
        return std::nullopt;

    const std::int32_t sectorCode = GetBits(nibbles, SectorFirst, SectorLast);
    const std::int32_t sector = sectorCode / 15;
    const std::int32_t rest = sectorCode % 15;
    if (sector > 6 || rest > 9)
        return std::nullopt;
    std::int32_t progressCode = GetBits(nibbles, ProgressFirst, ProgressLast);
    if (progressCode > 728)
        return std::nullopt;
    const std::int32_t rationFlags = GetBits(nibbles, RationFirst, RationLast);

    PasswordSettings s;
    s.Sector = static_cast<std::int16_t>(sector);
    s.Expert = rest >= 5;
    s.Rations = static_cast<std::int16_t>(rest % 5);
    for (int i = 0; i < 6; ++i) {
        s.Progress[i] = static_cast<std::int16_t>(progressCode % 3);
        progressCode /= 3;
        s.RationGained[i] = (rationFlags >> i) & 1;
    }
    return s;
}

std::optional<PasswordSettings> DecodeTypedPassword(QStringView text)
{
    if (text.size() != 8)
        return std::nullopt;
    QString upper(8, QChar());
    for (qsizetype i = 0; i < 8; ++i) {
        const char16_t c = text[i].unicode();
        upper[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
    }
    return DecodePassword(upper);
}
