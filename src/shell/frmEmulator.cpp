#include "shell/frmEmulator.h"

#include "testplay/Emulator.h"
#include "widgets/MessageBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

frmEmulator::frmEmulator(QWidget* parent, const QString& command, const QString& pathVariable) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Emulator"));
    auto* layout = new QVBoxLayout(this);
    auto* explain = new QLabel(
        QStringLiteral("Command that starts the emulator for Test Play. %f stands for the image's file; "
                       "without it the file is added at the end.\nLeave it empty to use the first of %1 found "
                       "on PATH.")
            .arg(KnownEmulators().join(QStringLiteral(", "))),
        this);
    explain->setWordWrap(true);
    layout->addWidget(explain);
    txtCommand = new QLineEdit(command, this);
    txtCommand->setObjectName(QStringLiteral("txtCommand"));
    txtCommand->setPlaceholderText(QStringLiteral("fceux %f"));
    layout->addWidget(txtCommand);
    const QString found = FirstKnownEmulator(pathVariable);
    lblFound = new QLabel(found.isEmpty()
                              ? QStringLiteral("None of them is on PATH now (Debian packages: %1).")
                                    .arg(KnownEmulators().join(QStringLiteral(", ")))
                              : QStringLiteral("Found on PATH: %1").arg(found),
                          this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    layout->addWidget(lblFound);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

QString frmEmulator::Command() const
{
    return txtCommand->text().trimmed();
}

frmEmulator::AskRunner& frmEmulator::Runner()
{
    static AskRunner runner;
    return runner;
}

std::optional<QString> frmEmulator::Ask(QWidget* parent, const QString& current, const QString& pathVariable)
{
    if (Runner())
        return Runner()(current);
    frmEmulator dialog(parent, current, pathVariable);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Command();
}
