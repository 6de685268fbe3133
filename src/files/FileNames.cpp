#include "files/FileNames.h"

namespace {

constexpr char16_t RawFirst = 0xDC80;
constexpr char16_t RawLast = 0xDCFF;

bool IsRaw(char16_t c)
{
    return c >= RawFirst && c <= RawLast;
}

// Length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one
// (overlong forms, encoded surrogates and values above U+10FFFF are not).
int ValidSequence(const QByteArray& bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char b0 = at(i);
    if (b0 < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0;
        if (b0 == 0xED)
            high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        if (b0 == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return length;
}

bool IsHiddenControl(char32_t c)
{
    // Direction marks, embeddings, overrides and isolates change how the
    // rest of a line is shown; line and paragraph separators break it.
    return (c >= 0x200E && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)
        || c == 0x2028 || c == 0x2029 || c == 0x061C || c == 0xFEFF;
}

} // namespace

QString DecodeFileName(const QByteArray& bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = ValidSequence(bytes, i);
        if (length == 0) {
            name += QChar(char16_t(RawFirst + (static_cast<unsigned char>(bytes[i]) - 0x80)));
            ++i;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + i, length);
        i += length;
    }
    return name;
}

std::optional<QByteArray> EncodeFileName(QStringView name)
{
    if (name.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    qsizetype i = 0;
    while (i < name.size()) {
        const char16_t c = name[i].unicode();
        if (c == 0)
            return std::nullopt;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= name.size() || !QChar::isLowSurrogate(name[i + 1].unicode()))
                return std::nullopt;
            bytes += name.mid(i, 2).toUtf8();
            i += 2;
            continue;
        }
        if (QChar::isLowSurrogate(c)) {
            if (!IsRaw(c))
                return std::nullopt;
            bytes += char(0x80 + (c - RawFirst));
            ++i;
            continue;
        }
        bytes += name.mid(i, 1).toUtf8();
        ++i;
    }
    return bytes;
}

bool HasRawBytes(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (IsRaw(c))
            return true;
    }
    return false;
}

QString DisplayName(const QString& name)
{
    if (name.isNull())
        return QString();
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
            shown += name.mid(i, 2);
            ++i;
            continue;
        }
        if (IsRaw(c)) {
            shown += QStringLiteral("\\x") + QString::number(0x80 + (c - RawFirst), 16).toUpper();
            continue;
        }
        if (QChar::isSurrogate(c) || QChar(c).category() == QChar::Other_Control || IsHiddenControl(c)) {
            shown += QLatin1Char('?');
            continue;
        }
        shown += QChar(c);
    }
    return shown;
}

bool IsStandardInputName(QStringView name)
{
    return name == u"-" || name == u"/dev/stdin" || name == u"/dev/fd/0" || name == u"/proc/self/fd/0";
}
