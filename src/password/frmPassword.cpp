#include "password/frmPassword.h"

#include "password/PasswordCodec.h"
#include "widgets/MessageBox.h"
#include "widgets/TextFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {
// Layout is kept in twips, 15 to a pixel.
QRect Twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

template <typename W>
W* Named(W* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

const QStringList ProgressItems = {
    QStringLiteral("Active"), QStringLiteral("ID Aquired"), QStringLiteral("Disarmed")};

// "Terminal" bold 12 pt, or the system's fixed-pitch font where it is missing.
QFont PasswordFont()
{
    QFont font(QStringLiteral("Terminal"), 12, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    if (QFontInfo(font).family().compare(QStringLiteral("Terminal"), Qt::CaseInsensitive) != 0) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(12);
        font.setBold(true);
    }
    return font;
}

bool IsVowel(char16_t c)
{
    switch (c) {
    case u'A': case u'a': case u'E': case u'e': case u'I': case u'i':
    case u'O': case u'o': case u'U': case u'u':
        return true;
    default:
        return false;
    }
}
}

frmPassword::frmPassword(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("VornGen"));
    setFixedSize(6735 / 15, 3195 / 15);
    // The layout is sized for an 8 point dialog font; larger defaults would
    // clip the captions.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    buildControls();
    Form_Load();
    // Captions and list entries too wide for their fixed controls ("ID
    // Aquired" in a progress list) are drawn narrower, never clipped.
    FitWindowTexts(this);
}

void frmPassword::buildControls()
{
    Label1 = Named(new QLabel(QStringLiteral("Sector"), this), QStringLiteral("Label1"),
                   Twips(120, 120, 735, 255));
    cboSector = Named(new QComboBox(this), QStringLiteral("cboSector"), Twips(960, 120, 1215, 315));
    Label2 = Named(new QLabel(QStringLiteral("Rations"), this), QStringLiteral("Label2"),
                   Twips(2280, 120, 735, 255));
    cboRations = Named(new QComboBox(this), QStringLiteral("cboRations"), Twips(3000, 120, 1215, 315));
    optSkill[0] = Named(new QRadioButton(QStringLiteral("Normal"), this), QStringLiteral("optSkill0"),
                        Twips(4320, 120, 975, 255));
    optSkill[1] = Named(new QRadioButton(QStringLiteral("Expert"), this), QStringLiteral("optSkill1"),
                        Twips(5400, 120, 975, 255));

    Frame1 = Named(new QGroupBox(QStringLiteral("Progress"), this), QStringLiteral("Frame1"),
                   Twips(120, 600, 4575, 1815));
    for (int i = 0; i < 6; ++i) {
        const int column = i < 3 ? 0 : 1;
        const int top = 240 + 480 * (i % 3);
        lblStage[i] = Named(new QLabel(QStringLiteral("Sector %1").arg(i + 1), Frame1),
                            QStringLiteral("lblStage%1").arg(i),
                            Twips(column ? 2400 : 240, top, 615, 255));
        cboSectorProgress[i] = Named(new QComboBox(Frame1), QStringLiteral("cboSectorProgress%1").arg(i),
                                     Twips(column ? 3120 : 960, top, 1215, 315));
    }

    Frame2 = Named(new QGroupBox(QStringLiteral("Sector Ration Gained"), this), QStringLiteral("Frame2"),
                   Twips(4680, 600, 1815, 1815));
    for (int i = 0; i < 6; ++i)
        chkSectorRation[i] = Named(new QCheckBox(QStringLiteral("Sector %1").arg(i + 1), Frame2),
                                   QStringLiteral("chkSectorRation%1").arg(i),
                                   Twips(360, 240 + 240 * i, 975, 255));

    txtPassword = Named(new QLineEdit(QStringLiteral("GGGGGGGG"), this), QStringLiteral("txtPassword"),
                        Twips(2040, 2520, 1695, 360));
    txtPassword->setMaxLength(8);
    txtPassword->setFont(PasswordFont());
    txtPassword->installEventFilter(this);
    cmdDecode = Named(new QPushButton(QStringLiteral("&Decode"), this), QStringLiteral("cmdDecode"),
                      Twips(3960, 2520, 855, 375));

    // A list's Click comes both when code sets its position and when the
    // user picks an entry, even the one already shown.
    auto wireList = [this](QComboBox* box, auto handler) {
        connect(box, &QComboBox::currentIndexChanged, this, handler);
        connect(box, &QComboBox::activated, this, handler);
    };
    wireList(cboSector, [this] { cboSector_Click(); });
    wireList(cboRations, [this] { cboRations_Click(); });
    for (int i = 0; i < 6; ++i) {
        wireList(cboSectorProgress[i], [this, i] { cboSectorProgress_Click(i); });
        connect(chkSectorRation[i], &QCheckBox::toggled, this, [this, i] { chkSectorRation_Click(i); });
    }
    for (int i = 0; i < 2; ++i) {
        // The two option buttons are one group (same parent, auto-exclusive).
        connect(optSkill[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optSkill_Click(i);
        });
        connect(optSkill[i], &QRadioButton::clicked, this, [this, i] { optSkill_Click(i); });
    }
    connect(cmdDecode, &QPushButton::clicked, this, &frmPassword::cmdDecode_Click);
}

void frmPassword::Form_Load()
{
    Loading = true;
    for (int n = 1; n <= 7; ++n)
        cboSector->addItem(QString::number(n));
    cboSector->setCurrentIndex(0);
    for (int n = 0; n <= 4; ++n)
        cboRations->addItem(QString::number(n));
    cboRations->setCurrentIndex(0);
    optSkill[0]->setChecked(true);
    for (QComboBox* box : cboSectorProgress) {
        box->addItems(ProgressItems);
        box->setCurrentIndex(0);
    }
    Loading = false;
    Regenerate();
}

PasswordSettings frmPassword::ReadSettings() const
{
    PasswordSettings s;
    s.Sector = static_cast<std::int16_t>(cboSector->currentIndex());
    s.Rations = static_cast<std::int16_t>(cboRations->currentIndex());
    s.Expert = optSkill[1]->isChecked();
    for (int i = 0; i < 6; ++i) {
        s.Progress[i] = static_cast<std::int16_t>(cboSectorProgress[i]->currentIndex());
        s.RationGained[i] = chkSectorRation[i]->isChecked();
    }
    return s;
}

void frmPassword::ShowSettings(const PasswordSettings& s)
{
    cboSector->setCurrentIndex(s.Sector);
    cboRations->setCurrentIndex(s.Rations);
    optSkill[s.Expert ? 1 : 0]->setChecked(true);
    for (int i = 0; i < 6; ++i) {
        cboSectorProgress[i]->setCurrentIndex(s.Progress[i]);
        chkSectorRation[i]->setChecked(s.RationGained[i]);
    }
}

void frmPassword::Regenerate()
{
    if (Loading)
        return;
    txtPassword->setText(MakePassword(ReadSettings()));
}

void frmPassword::cboSector_Click() { Regenerate(); }
void frmPassword::cboRations_Click() { Regenerate(); }
void frmPassword::cboSectorProgress_Click(int) { Regenerate(); }
void frmPassword::chkSectorRation_Click(int) { Regenerate(); }
void frmPassword::optSkill_Click(int) { Regenerate(); }

void frmPassword::cmdDecode_Click()
{
    // ASCII letters are compared in upper case so a pasted lower-case
    // password (which the keystroke filter never saw) still decodes.
    const std::optional<PasswordSettings> decoded = DecodeTypedPassword(txtPassword->text());
    if (!decoded) {
        ShowAppMessage(this, QStringLiteral("Bad Password"));
        return;
    }
    ShowSettings(*decoded);
    // When the controls already held these settings nothing changed above;
    // show the password in its canonical form all the same.
    Regenerate();
}

bool frmPassword::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtPassword && event->type() == QEvent::KeyPress)
        return txtPassword_KeyPress(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool frmPassword::txtPassword_KeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdDecode_Click();
        cmdDecode->setFocus(Qt::OtherFocusReason);
        return true;
    }
    // Shortcuts (Ctrl+A, Ctrl+V ...) are not typed characters.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.size() != 1)
        return false;
    const char16_t c = text[0].unicode();
    if (IsVowel(c))
        return true;
    if (c >= u'a' && c <= u'z') {
        // Hand the box the same key with the upper-case letter instead.
        QKeyEvent upper(event->type(), event->key(), event->modifiers(), text.toUpper(),
                        event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QCoreApplication::sendEvent(txtPassword, &upper);
        return true;
    }
    return false;
}

frmPassword* ShowPasswordWindow(QWidget* owner)
{
    static QPointer<frmPassword> window;
    if (window) {
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
    window = new frmPassword(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
