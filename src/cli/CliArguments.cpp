#include "CliArguments.h"

std::optional<int> ParseDecimal(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = 10 * value + (c.unicode() - '0');
    }
    return value;
}

std::optional<int> ParseDecimalOrHex(const QString& text)
{
    if (!text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return ParseDecimal(text);
    const QString digits = text.mid(2);
    if (digits.isEmpty() || digits.size() > 7)
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        const int digit = c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0'
                        : c >= QLatin1Char('a') && c <= QLatin1Char('f') ? c.unicode() - 'a' + 10
                        : c >= QLatin1Char('A') && c <= QLatin1Char('F') ? c.unicode() - 'A' + 10
                                                                         : -1;
        if (digit < 0)
            return std::nullopt;
        value = 16 * value + digit;
    }
    return value;
}

CliArguments::CliArguments(const QStringList& args, const std::vector<CliOption>& options)
{
    for (qsizetype i = 0; i < args.size() && ok(); ++i) {
        const QString& word = args.at(i);
        if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-")) {
            m_plain << word;
            continue;
        }
        const CliOption* known = nullptr;
        for (const CliOption& o : options)
            if (word == QLatin1String(o.name))
                known = &o;
        if (!known) {
            fail(QStringLiteral("unknown option \"%1\"").arg(word));
        } else if (m_given.count(word)) {
            fail(QStringLiteral("%1 is given twice").arg(word));
        } else if (known->takesValue) {
            if (i + 1 >= args.size())
                fail(QStringLiteral("%1 needs a value").arg(word));
            else
                m_given[word] = args.at(++i);
        } else {
            m_given[word] = QString();
        }
    }
}

bool CliArguments::has(const char* option) const
{
    return m_given.count(QLatin1String(option)) != 0;
}

QString CliArguments::value(const char* option) const
{
    const auto it = m_given.find(QLatin1String(option));
    return it == m_given.end() ? QString() : it->second;
}

void CliArguments::fail(const QString& reason)
{
    if (m_reason.isEmpty())
        m_reason = reason;
}

std::optional<int> CliArguments::number(const char* option, int low, int high, bool required)
{
    if (!ok())
        return std::nullopt;
    if (!has(option)) {
        if (required)
            fail(QStringLiteral("%1 is missing").arg(QLatin1String(option)));
        return std::nullopt;
    }
    const std::optional<int> n = ParseDecimal(value(option));
    if (!n || *n < low || *n > high) {
        fail(QStringLiteral("%1 must be a decimal number from %2 to %3, not \"%4\"")
                 .arg(QLatin1String(option)).arg(low).arg(high).arg(value(option)));
        return std::nullopt;
    }
    return n;
}

std::optional<int> CliArguments::roomNumber(const char* option, int low, int high)
{
    if (!ok())
        return std::nullopt;
    if (!has(option)) {
        fail(QStringLiteral("%1 is missing").arg(QLatin1String(option)));
        return std::nullopt;
    }
    const std::optional<int> n = ParseDecimalOrHex(value(option));
    if (!n || *n < low || *n > high) {
        fail(QStringLiteral("%1 must be a room from %2 to %3 (0x%4), decimal or hexadecimal with 0x, not \"%5\"")
                 .arg(QLatin1String(option)).arg(low).arg(high)
                 .arg(QString::number(high, 16).toUpper().rightJustified(2, QLatin1Char('0')), value(option)));
        return std::nullopt;
    }
    return n;
}

std::optional<std::vector<int>> CliArguments::numberList(const char* option, int count, int low, int high)
{
    if (!ok())
        return std::nullopt;
    if (!has(option))
        return std::vector<int>(static_cast<std::size_t>(count), 0);
    const QStringList parts = value(option).split(QLatin1Char(','));
    std::vector<int> numbers;
    for (const QString& part : parts) {
        const std::optional<int> n = ParseDecimal(part);
        if (!n || *n < low || *n > high)
            break;
        numbers.push_back(*n);
    }
    if (parts.size() != count || numbers.size() != static_cast<std::size_t>(count)) {
        fail(QStringLiteral("%1 must be %2 comma-separated numbers from %3 to %4, not \"%5\"")
                 .arg(QLatin1String(option)).arg(count).arg(low).arg(high).arg(value(option)));
        return std::nullopt;
    }
    return numbers;
}
