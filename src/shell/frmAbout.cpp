#include "shell/frmAbout.h"

#include "shell/AppVersion.h"
#include "shell/MenuImages.h"
#include "shell/SysInfoTool.h"
#include "shell/WebLinks.h"
#include "widgets/CrLineLabel.h"
#include "widgets/TextFit.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
// Client area 5730 x 3555 twips at 15 twips per pixel.
constexpr int ClientWidth = 5730 / 15;
constexpr int ClientHeight = 3555 / 15;
constexpr int IconSize = 32;
}

std::function<void()>& frmAbout::Beep()
{
    static std::function<void()> beep = [] { QApplication::beep(); };
    return beep;
}

QString AboutDescriptionText()
{
    const QChar cr(u'\r');
    return AppProgramTitle() + QStringLiteral(", a Vorn level editor (C) 2004-2026 Gantrow") + cr
        + QStringLiteral("Written By The Gantrow Team") + cr + QLatin1String(MakerWebAddress) + cr
        + QStringLiteral("Please Send Error Reports To ") + QLatin1String(AuthorEmailAddress);
}

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    buildControls();
    Form_Load();
    // A caption wider than its button is drawn narrower, never clipped.
    FitWindowTexts(this);
}

void frmAbout::buildControls()
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(ClientWidth, ClientHeight);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(16, 16, IconSize, IconSize);
    // The program's icon; without one, its tile picture at twice the size.
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        picIcon->setPixmap(icon.pixmap(IconSize, IconSize));
    else
        picIcon->setPixmap(QPixmap::fromImage(LoadMenuImage(ImgZone, ImgZoneMask).scaled(IconSize, IconSize)));

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(64, 10, 300, 30);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(64, 42, 300, 16);

    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
        Line1[i]->setFrameShape(QFrame::HLine);
        Line1[i]->setFrameShadow(QFrame::Sunken);
    }
    Line1[0]->setGeometry(8, 62, ClientWidth - 16, 2);
    Line1[1]->setGeometry(8, 142, ClientWidth - 16, 2);

    lblDescription = new CrLineLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(64, 68, ClientWidth - 72, 70);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setGeometry(16, 152, 256, 72);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(286, 152, 84, 23);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(286, 184, 84, 23);
    cmdSysInfo->setAutoDefault(false);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    cmdOK->setFocus();
}

void frmAbout::Form_Load()
{
    Beep()();
    setWindowTitle(QStringLiteral("About ") + AppProgramTitle());
    lblVersion->setText(QStringLiteral("Version ") + AppVersionText());
    lblTitle->setText(AppProgramTitle());
    lblDescription->setText(AboutDescriptionText());
    lblDisclaimer->setText(QStringLiteral("I Am Not Responsible For Any Damaged Vorn Roms."));
}

void frmAbout::showEvent(QShowEvent* event)
{
    // Opens at the centre of the screen the first time it is shown.
    if (!m_centred) {
        m_centred = true;
        QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo(this);
}

void ShowAboutBox(QWidget* owner)
{
    frmAbout box(owner);
    box.exec();
}

void StartSysInfo(QWidget* parent)
{
    if (!LaunchSysInfoTool(CurrentSysInfoSystem()))
        ShowAppMessage(parent, QStringLiteral("System Information Is Unavailable At This Time"),
                       QMessageBox::Information);
}
