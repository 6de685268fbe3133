#pragma once
// Fitting captions into controls of fixed size: a caption that is wider than
// the room its control gives it is drawn in a narrower font (first condensed,
// then smaller) instead of being clipped. The text itself never changes.
#include <QStringList>

class QWidget;

// The texts a control shows (a label's lines, a button's caption, every
// entry of a list), mnemonic marks removed; empty for other controls.
QStringList ControlTexts(const QWidget* control);

// The width the control's style leaves for its text, in logical pixels;
// negative for a control without a text of its own.
double TextRoom(const QWidget* control);

// Narrows the control's font until each of its texts fits its room.
void FitControlText(QWidget* control);

// FitControlText for `window` and every control on it.
void FitWindowTexts(QWidget* window);
