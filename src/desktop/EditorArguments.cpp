#include "desktop/EditorArguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

EditorArguments ParseEditorArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Level editor for the cartridge image (.nes) of the NES game Vorn.\n"
                       "With FILE the editor starts with that image open, as File > Open\n"
                       "would open it; a file it cannot open is told in a message and the\n"
                       "editor starts without one."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Shows the version and ends."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The cartridge image to open."),
                                 QStringLiteral("[FILE]"));

    EditorArguments result;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        result.What = EditorArguments::Action::Help;
        // The usage line names the program as it was started (the parser
        // knows no name before the application object exists).
        const QString program = arguments.isEmpty() ? QStringLiteral("vorned") : QFileInfo(arguments.first()).fileName();
        const QString text = parser.helpText();
        result.Text = QStringLiteral("Usage: %1 [options] [FILE]").arg(program) + text.mid(text.indexOf(QLatin1Char('\n')))
                    + QStringLiteral("\nExit status: 0 when the editor ended normally, %1 for a bad command line.\n")
                          .arg(EditorUsageExit);
        return result;
    }
    if (parser.isSet(version)) {
        result.What = EditorArguments::Action::Version;
        result.Text = QCoreApplication::applicationName() + QLatin1Char(' ')
                    + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    if (!parsed) {
        result.What = EditorArguments::Action::Error;
        result.Text = parser.errorText();
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result.What = EditorArguments::Action::Error;
        result.Text = QStringLiteral("only one file can be opened at start (got %1)").arg(files.size());
        return result;
    }
    if (!files.isEmpty() && files.first().isEmpty()) {
        result.What = EditorArguments::Action::Error;
        result.Text = QStringLiteral("the file name is empty");
        return result;
    }
    result.File = files.value(0);
    return result;
}
