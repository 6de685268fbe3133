#pragma once
// Reading a command's arguments: options ("--zone 3", "--expert") and plain
// arguments, with the checks every command shares. Problems become one-line
// reasons for UsageError.
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

struct CliOption {
    const char* name;  // with its dashes: "--zone", "-o"
    bool takesValue;
};

class CliArguments {
public:
    // Splits `args` by the options a command knows. Every word that starts
    // with '-' must be one of them; an option with a value takes the next
    // word whatever it is. ok() tells whether that worked, reason() why not.
    CliArguments(const QStringList& args, const std::vector<CliOption>& options);

    bool ok() const { return m_reason.isEmpty(); }
    const QString& reason() const { return m_reason; }

    bool has(const char* option) const;
    QString value(const char* option) const;
    const QStringList& plain() const { return m_plain; }

    // The value of `option` as a decimal number from low to high. When it is
    // missing (and required) or bad, returns nothing and sets reason(); after
    // an earlier problem returns nothing and keeps that reason.
    std::optional<int> number(const char* option, int low, int high, bool required = true);

    // The same for a room number, which may also be given in hexadecimal as
    // the editor shows rooms: "0x1F" (or "0X1f") as well as 31.
    std::optional<int> roomNumber(const char* option, int low, int high);

    // The value of `option` as `count` comma-separated decimal numbers from
    // low to high; all zero when it is not given.
    std::optional<std::vector<int>> numberList(const char* option, int count, int low, int high);

    // Records a reason of the caller's own; returns nothing so that it can be
    // used in the same way as number().
    void fail(const QString& reason);

private:
    std::map<QString, QString> m_given; // option -> value ("" for switches)
    QStringList m_plain;
    QString m_reason;
};

// A decimal number of at most nine digits without sign or spaces.
std::optional<int> ParseDecimal(const QString& text);

// A decimal number as above, or "0x" / "0X" followed by one to seven
// hexadecimal digits of either case.
std::optional<int> ParseDecimalOrHex(const QString& text);
