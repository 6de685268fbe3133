#include "widgets/MessageBox.h"

#include <QAbstractButton>

namespace {
MessageResponder& responder()
{
    static MessageResponder r;
    return r;
}
}

void SetMessageResponder(MessageResponder r)
{
    responder() = std::move(r);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request)
{
    if (responder())
        return responder()(request);
    QMessageBox box(request.Icon, request.Title, request.Text, request.Buttons, parent);
    if (request.DefaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.DefaultButton);
    for (auto it = request.ButtonTexts.begin(); it != request.ButtonTexts.end(); ++it)
        if (QAbstractButton* button = box.button(it.key()))
            button->setText(it.value());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowAppMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    MessageRequest message;
    message.Title = AppTitle();
    message.Text = text;
    message.Icon = icon;
    message.Buttons = QMessageBox::Ok;
    message.DefaultButton = QMessageBox::Ok;
    ShowMessage(parent, message);
}
