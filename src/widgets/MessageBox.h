#pragma once
// Every message box of the program goes through ShowMessage, so tests can
// answer them without a person: install a responder and it is asked instead.
#include <QMap>
#include <QMessageBox>
#include <QString>

#include <functional>

struct MessageRequest {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons = QMessageBox::Ok;
    QMessageBox::StandardButton DefaultButton = QMessageBox::NoButton;
    // Captions other than the standard ones, e.g. "Restore" on a button.
    QMap<QMessageBox::StandardButton, QString> ButtonTexts;
};

using MessageResponder = std::function<QMessageBox::StandardButton(const MessageRequest&)>;

// Shows the message modally over `parent` and returns the button pressed.
QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request);

// The application title, caption of every message box.
inline QString AppTitle() { return QStringLiteral("VornEd"); }

// Shows `text` captioned "VornEd" with only an OK button.
void ShowAppMessage(QWidget* parent, const QString& text,
                    QMessageBox::Icon icon = QMessageBox::Warning);

// Installs a responder (tests); an empty one restores the real message box.
void SetMessageResponder(MessageResponder responder);
