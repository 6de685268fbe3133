#pragma once
// A label whose text breaks into lines at a carriage return alone (without a
// line feed), as the program's credit texts are written. text() keeps the
// text as it was set; only the drawing turns each CR into a line break.
#include <QLabel>

class CrLineLabel : public QLabel {
    Q_OBJECT
public:
    explicit CrLineLabel(QWidget* parent = nullptr);

    // The text as drawn: CR LF pairs and lone CRs become line breaks.
    static QString DisplayText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
