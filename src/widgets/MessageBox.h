#pragma once
// Every message box of the program goes through ShowMessage, so tests can
// answer them without a person: install a responder and it is asked instead.
#include <QMap>
#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

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

// The box ShowMessage shows (not yet shown): plain text, never markup, broken
// into lines that fit the screen (FitMessageText); when even that is too
// tall, the whole text is under "Show Details...".
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const MessageRequest& request);

// `text` broken into lines of at most `width` pixels: at spaces, and inside
// words longer than a line (paths) after a "/" or, failing that, anywhere.
// At most `maxLines` lines; the middle of a longer text gives way to one "…" line.
QString FitMessageText(const QString& text, const QFontMetrics& metrics, int width, int maxLines);

// The application title, caption of every message box.
inline QString AppTitle() { return QStringLiteral("VornEd"); }

// Shows `text` captioned "VornEd" with only an OK button.
void ShowAppMessage(QWidget* parent, const QString& text,
                    QMessageBox::Icon icon = QMessageBox::Warning);

// Installs a responder (tests); an empty one restores the real message box.
void SetMessageResponder(MessageResponder responder);
