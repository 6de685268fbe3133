#pragma once
// A status bar panel for a file's path: it never asks for more width than a
// few characters, so a long path cannot widen its window; what does not fit
// is elided (the folders before the file's name first), and control
// characters are drawn as "?". text() keeps the text as it was set.
#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // What the panel draws for `text` in `width` pixels.
    static QString ShownText(const QString& text, const QFontMetrics& metrics, int width);
    // What it draws now.
    QString shownText() const;

    // A tooltip that shows all of `text`, with control characters as "?",
    // as plain text (never taken as markup) that may wrap after each "/".
    static QString FullTextToolTip(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};
