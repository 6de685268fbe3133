#pragma once
// Tools › Emulator…: the command that test play starts, stored for later
// runs. Empty means: the first of the known emulators found on PATH.
#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;

class frmEmulator : public QDialog {
    Q_OBJECT
public:
    frmEmulator(QWidget* parent, const QString& command, const QString& pathVariable);

    // The command as typed, without blanks around it.
    QString Command() const;

    QLineEdit* txtCommand = nullptr;
    QLabel* lblFound = nullptr;

    // Asks for the command, starting from `current`; nothing when cancelled.
    // Tests replace the dialog through Runner().
    static std::optional<QString> Ask(QWidget* parent, const QString& current, const QString& pathVariable);
    using AskRunner = std::function<std::optional<QString>(const QString& current)>;
    static AskRunner& Runner();
};
