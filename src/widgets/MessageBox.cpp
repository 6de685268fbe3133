#include "widgets/MessageBox.h"

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
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowAppMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    ShowMessage(parent, {AppTitle(), text, icon, QMessageBox::Ok, QMessageBox::Ok});
}
