#include "widgets/MessageBox.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>

namespace {
MessageResponder& responder()
{
    static MessageResponder r;
    return r;
}

// Splits one word that is wider than `width` into pieces that fit, each
// ending after a "/" where one lies in reach.
QStringList BreakWord(const QString& word, const QFontMetrics& metrics, int width)
{
    QStringList pieces;
    QString rest = word;
    while (!rest.isEmpty() && metrics.horizontalAdvance(rest) > width) {
        qsizetype fit = 1;
        while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width)
            ++fit;
        if (fit < rest.size() && rest[fit - 1].isHighSurrogate())
            fit = fit > 1 ? fit - 1 : fit + 1;
        const qsizetype slash = rest.left(fit).lastIndexOf(QLatin1Char('/'));
        const qsizetype cut = slash >= fit / 2 ? slash + 1 : fit;
        pieces << rest.left(cut);
        rest = rest.mid(cut);
    }
    if (!rest.isEmpty())
        pieces << rest;
    return pieces;
}

} // namespace

void SetMessageResponder(MessageResponder r)
{
    responder() = std::move(r);
}

QString FitMessageText(const QString& text, const QFontMetrics& metrics, int width, int maxLines)
{
    width = std::max(width, metrics.averageCharWidth() * 8);
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (metrics.horizontalAdvance(joined) <= width) {
                line = joined;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            QStringList pieces = BreakWord(word, metrics, width);
            line = pieces.isEmpty() ? QString() : pieces.takeLast();
            lines << pieces;
        }
        lines << line;
    }
    maxLines = std::max(maxLines, 3);
    if (lines.size() > maxLines) {
        const qsizetype head = (maxLines - 1) / 2;
        const qsizetype tail = maxLines - 1 - head;
        lines = lines.mid(0, head) + QStringList{QStringLiteral("\u2026")} + lines.mid(lines.size() - tail);
    }
    return lines.join(QLatin1Char('\n'));
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const MessageRequest& request)
{
    auto box = std::make_unique<QMessageBox>(request.Icon, request.Title, QString(), request.Buttons, parent);
    box->setTextFormat(Qt::PlainText);
    if (request.DefaultButton != QMessageBox::NoButton)
        box->setDefaultButton(request.DefaultButton);
    for (auto it = request.ButtonTexts.begin(); it != request.ButtonTexts.end(); ++it)
        if (QAbstractButton* button = box->button(it.key()))
            button->setText(it.value());
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    const QFontMetrics metrics(box->font());
    // Half the screen's width at most (and no more than about 80 characters),
    // and half its height, leaving room for the icon, buttons and frame.
    const int width = std::min(area.width() / 2, metrics.averageCharWidth() * 80);
    const int lines = std::max(3, area.height() / 2 / std::max(1, metrics.lineSpacing()));
    const QString fitted = FitMessageText(request.Text, metrics, width, lines);
    box->setText(fitted);
    if (fitted.contains(QStringLiteral("\u2026")) && !request.Text.contains(QStringLiteral("\u2026")))
        box->setDetailedText(request.Text);
    return box;
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request)
{
    if (responder())
        return responder()(request);
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(parent, request);
    return static_cast<QMessageBox::StandardButton>(box->exec());
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
