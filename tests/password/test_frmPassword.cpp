// The "VornGen" window: layout, load state, regeneration, the keystroke
// filter, Decode, and opening/closing through ShowPasswordWindow.
#include "password/PasswordCodec.h"
#include "password/frmPassword.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>

#include "../fixtures/PasswordFixture.h"

#include <memory>

Q_DECLARE_METATYPE(PasswordSettings)

namespace {

QString Keyed(PasswordNibbles n)
{
    ApplyKey(n);
    return NibblesToText(n);
}

// A non-default state used where a test must see that nothing changed.
const PasswordSettings Busy = Make(4, 3, true, {2, 1, 0, 2, 1, 0}, {1, 0, 1, 1, 0, 0});

QRect Twips(int l, int t, int w, int h) { return {l / 15, t / 15, w / 15, h / 15}; }

void CloseAndDelete(QWidget* w)
{
    QPointer<QWidget> p(w);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(p.isNull());
}
}

class TestFrmPassword : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void loadState();
    void windowKind();
    void keystrokeFilter_data();
    void keystrokeFilter();
    void ninthCharacterIgnored();
    void enterRunsDecodeAndFocusesButton();
    void regenerationOverwritesTypedText_data();
    void regenerationOverwritesTypedText();
    void recheckingRegenerates();
    void decodeSetsControls_data();
    void decodeSetsControls();
    void badPasswordChangesNothing_data();
    void badPasswordChangesNothing();
    void reopenWhileOpenKeepsSettings();
    void reopenAfterCloseStartsFresh();

private:
    QList<MessageRequest> m_messages;
    std::unique_ptr<QWidget> m_owner;
};

void TestFrmPassword::initTestCase()
{
    SetMessageResponder([this](const MessageRequest& r) {
        m_messages.append(r);
        return QMessageBox::Ok;
    });
}

void TestFrmPassword::init()
{
    m_messages.clear();
    m_owner = std::make_unique<QWidget>();
    m_owner->resize(300, 200);
    m_owner->show();
}

void TestFrmPassword::cleanup()
{
    m_owner.reset();  // destroys an open password window with its owner
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestFrmPassword::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    const QString win = QStringLiteral("frmPassword");
    const QString f1 = QStringLiteral("Frame1");
    const QString f2 = QStringLiteral("Frame2");
    QTest::newRow("Label1") << "Label1" << win << "Sector" << Twips(120, 120, 735, 255);
    QTest::newRow("cboSector") << "cboSector" << win << "" << Twips(960, 120, 1215, 315);
    QTest::newRow("Label2") << "Label2" << win << "Rations" << Twips(2280, 120, 735, 255);
    QTest::newRow("cboRations") << "cboRations" << win << "" << Twips(3000, 120, 1215, 315);
    QTest::newRow("optSkill0") << "optSkill0" << win << "Normal" << Twips(4320, 120, 975, 255);
    QTest::newRow("optSkill1") << "optSkill1" << win << "Expert" << Twips(5400, 120, 975, 255);
    QTest::newRow("Frame1") << "Frame1" << win << "Progress" << Twips(120, 600, 4575, 1815);
    QTest::newRow("Frame2") << "Frame2" << win << "Sector Ration Gained" << Twips(4680, 600, 1815, 1815);
    const int rows[3] = {240, 720, 1200};
    for (int i = 0; i < 6; ++i) {
        const bool right = i >= 3;
        QTest::addRow("lblStage%d", i) << QStringLiteral("lblStage%1").arg(i) << f1
                                       << QStringLiteral("Sector %1").arg(i + 1)
                                       << Twips(right ? 2400 : 240, rows[i % 3], 615, 255);
        QTest::addRow("cboSectorProgress%d", i) << QStringLiteral("cboSectorProgress%1").arg(i) << f1 << ""
                                                << Twips(right ? 3120 : 960, rows[i % 3], 1215, 315);
        QTest::addRow("chkSectorRation%d", i) << QStringLiteral("chkSectorRation%1").arg(i) << f2
                                              << QStringLiteral("Sector %1").arg(i + 1)
                                              << Twips(360, 240 + 240 * i, 975, 255);
    }
    QTest::newRow("txtPassword") << "txtPassword" << win << "" << Twips(2040, 2520, 1695, 360);
    QTest::newRow("cmdDecode") << "cmdDecode" << win << "&Decode" << Twips(3960, 2520, 855, 375);
}

void TestFrmPassword::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    frmPassword w;
    auto* control = w.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), geometry);
    QString text;
    if (auto* l = qobject_cast<QLabel*>(control))
        text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(control))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(control))
        text = g->title();
    if (!caption.isEmpty())
        QCOMPARE(text, caption);
}

void TestFrmPassword::loadState()
{
    frmPassword w;
    QCOMPARE(w.windowTitle(), QStringLiteral("VornGen"));
    QCOMPARE(w.size(), QSize(6735 / 15, 3195 / 15));
    QCOMPARE(w.txtPassword->text(), MakePassword(PasswordSettings{}));
    QVERIFY(w.txtPassword->text() != QStringLiteral("GGGGGGGG"));
    QCOMPARE(w.ReadSettings(), PasswordSettings{});
    QCOMPARE(w.txtPassword->maxLength(), 8);
    QVERIFY(w.txtPassword->font().bold());
    QCOMPARE(w.txtPassword->font().pointSize(), 12);
    // Terminal, or a fixed-pitch stand-in: every character equally wide.
    const QFontMetrics metrics(w.txtPassword->font());
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('1')), metrics.horizontalAdvance(QLatin1Char('B')));

    auto items = [](QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    };
    QCOMPARE(items(w.cboSector), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
    QCOMPARE(items(w.cboRations), (QStringList{"0", "1", "2", "3", "4"}));
    for (QComboBox* box : w.cboSectorProgress)
        QCOMPARE(items(box), (QStringList{"Active", "ID Aquired", "Disarmed"}));
    QVERIFY(w.optSkill[0]->isChecked());
    QVERIFY(!w.optSkill[1]->isChecked());
    QVERIFY(m_messages.isEmpty());
}

void TestFrmPassword::windowKind()
{
    frmPassword* w = ShowPasswordWindow(m_owner.get());
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), m_owner.get());
    QCOMPARE(w->windowType(), Qt::Tool);
    QVERIFY(!(w->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!w->isModal());
    QVERIFY(w->isVisible());
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    const QPoint centre = w->screen()->availableGeometry().center();
    QVERIFY((w->frameGeometry().center() - centre).manhattanLength() <= 4);
}

void TestFrmPassword::keystrokeFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a b c") << "abc" << "BC";
    QTest::newRow("vowels both cases") << "AaEeIiOoUu" << "";
    QTest::newRow("lower consonants") << "xyzq" << "XYZQ";
    QTest::newRow("upper consonants outside alphabet") << "CZ" << "CZ";
    QTest::newRow("digits and punctuation") << "09-. !" << "09-. !";
    QTest::newRow("mixed") << "gaJbK4e" << "GJBK4";
}

void TestFrmPassword::keystrokeFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    frmPassword w;
    w.txtPassword->clear();
    QTest::keyClicks(w.txtPassword, typed);
    QCOMPARE(w.txtPassword->text(), expected);
    // Backspace passes through the filter.
    if (!expected.isEmpty()) {
        QTest::keyClick(w.txtPassword, Qt::Key_Backspace);
        QCOMPARE(w.txtPassword->text(), expected.chopped(1));
    }
}

void TestFrmPassword::ninthCharacterIgnored()
{
    frmPassword w;
    w.txtPassword->clear();
    QTest::keyClicks(w.txtPassword, "bdfgjk01");
    QCOMPARE(w.txtPassword->text(), QStringLiteral("BDFGJK01"));
    QTest::keyClicks(w.txtPassword, "9");
    QTest::keyClicks(w.txtPassword, "b");
    QTest::keyClicks(w.txtPassword, "K");
    QCOMPARE(w.txtPassword->text(), QStringLiteral("BDFGJK01"));
    // Select-all is a shortcut, not a vowel: the next letter replaces the text.
    QTest::keyClick(w.txtPassword, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w.txtPassword, "d");
    QCOMPARE(w.txtPassword->text(), QStringLiteral("D"));
}

void TestFrmPassword::enterRunsDecodeAndFocusesButton()
{
    frmPassword* w = ShowPasswordWindow(m_owner.get());
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->ShowSettings(Busy);
    w->txtPassword->setFocus();
    QTRY_VERIFY(w->txtPassword->hasFocus());

    // A bad password: the message comes, the text stays.
    w->txtPassword->setText(QStringLiteral("12"));
    QTest::keyClick(w->txtPassword, Qt::Key_Return);
    QCOMPARE(w->txtPassword->text(), QStringLiteral("12"));
    QCOMPARE(m_messages.size(), 1);
    QTRY_VERIFY(w->cmdDecode->hasFocus());
    QCOMPARE(w->ReadSettings(), Busy);

    // A good one (keypad Enter): decoded into the controls, text unchanged.
    const PasswordSettings target = Make(1, 4, false, {0, 2, 2, 0, 1, 1}, {0, 0, 1, 0, 1, 1});
    const QString pw = MakePassword(target);
    w->txtPassword->setFocus();
    QTRY_VERIFY(w->txtPassword->hasFocus());
    w->txtPassword->setText(pw);
    QTest::keyClick(w->txtPassword, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(w->txtPassword->text(), pw);
    QCOMPARE(w->ReadSettings(), target);
    QCOMPARE(m_messages.size(), 1);
    QTRY_VERIFY(w->cmdDecode->hasFocus());
}

void TestFrmPassword::regenerationOverwritesTypedText_data()
{
    QTest::addColumn<int>("control");  // which control the user changes
    QTest::addColumn<PasswordSettings>("expected");
    PasswordSettings s;
    s.Sector = 3;
    QTest::newRow("cboSector") << 0 << s;
    s = {};
    s.Rations = 2;
    QTest::newRow("cboRations") << 1 << s;
    s = {};
    s.Expert = true;
    QTest::newRow("optSkill(1)") << 2 << s;
    s = {};
    s.Progress[4] = 1;
    QTest::newRow("cboSectorProgress(4)") << 3 << s;
    s = {};
    s.RationGained[2] = true;
    QTest::newRow("chkSectorRation(2)") << 4 << s;
}

void TestFrmPassword::regenerationOverwritesTypedText()
{
    QFETCH(int, control);
    QFETCH(PasswordSettings, expected);
    frmPassword* w = ShowPasswordWindow(m_owner.get());
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->txtPassword->clear();
    QTest::keyClicks(w->txtPassword, "bdf");
    QCOMPARE(w->txtPassword->text(), QStringLiteral("BDF"));
    // Change the control as the user would: keyboard for lists, clicks for buttons.
    switch (control) {
    case 0:
        w->cboSector->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w->cboSector, Qt::Key_Down);
        break;
    case 1:
        w->cboRations->setFocus();
        QTest::keyClick(w->cboRations, Qt::Key_Down);
        QTest::keyClick(w->cboRations, Qt::Key_Down);
        break;
    case 2:
        QTest::mouseClick(w->optSkill[1], Qt::LeftButton);
        break;
    case 3:
        w->cboSectorProgress[4]->setFocus();
        QTest::keyClick(w->cboSectorProgress[4], Qt::Key_Down);
        break;
    case 4:
        QTest::mouseClick(w->chkSectorRation[2], Qt::LeftButton);
        break;
    }
    QCOMPARE(w->ReadSettings(), expected);
    QCOMPARE(w->txtPassword->text(), MakePassword(expected));
}

void TestFrmPassword::recheckingRegenerates()
{
    frmPassword w;
    w.show();
    const QString initial = w.txtPassword->text();
    QTest::mouseClick(w.chkSectorRation[5], Qt::LeftButton);
    QVERIFY(w.txtPassword->text() != initial);
    w.txtPassword->setText(QStringLiteral("JJJ"));
    QTest::mouseClick(w.chkSectorRation[5], Qt::LeftButton);
    QCOMPARE(w.txtPassword->text(), initial);

    // Choosing the option already selected also rewrites the box.
    w.txtPassword->setText(QStringLiteral("JJJ"));
    QTest::mouseClick(w.optSkill[0], Qt::LeftButton);
    QCOMPARE(w.txtPassword->text(), initial);
}

void TestFrmPassword::decodeSetsControls_data()
{
    QTest::addColumn<PasswordSettings>("settings");
    QTest::addColumn<bool>("lowerCase");
    QTest::newRow("defaults") << PasswordSettings{} << false;
    QTest::newRow("all last choices") << Make(6, 4, true, {2, 2, 2, 2, 2, 2}, {1, 1, 1, 1, 1, 1}) << false;
    QTest::newRow("sector 3 expert") << Make(2, 1, true, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}) << false;
    QTest::newRow("mixed") << Make(5, 0, false, {1, 0, 2, 2, 0, 1}, {0, 1, 1, 0, 0, 1}) << false;
    QTest::newRow("pasted in lower case") << Make(3, 3, false, {0, 1, 2, 0, 1, 2}, {1, 0, 0, 1, 0, 0}) << true;
}

void TestFrmPassword::decodeSetsControls()
{
    QFETCH(PasswordSettings, settings);
    QFETCH(bool, lowerCase);
    frmPassword w;
    w.ShowSettings(Busy);
    const QString pw = MakePassword(settings);
    w.txtPassword->setText(lowerCase ? pw.toLower() : pw);
    QTest::mouseClick(w.cmdDecode, Qt::LeftButton);
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(w.ReadSettings(), settings);
    QCOMPARE(w.cboSector->currentText(), QString::number(settings.Sector + 1));
    QCOMPARE(w.cboRations->currentText(), QString::number(settings.Rations));
    QCOMPARE(w.txtPassword->text(), pw);
}

void TestFrmPassword::badPasswordChangesNothing_data()
{
    QTest::addColumn<QString>("text");
    const QString good = MakePassword(Make(2, 1, true, {1, 0, 2, 0, 1, 2}, {0, 1, 0, 1, 1, 0}));
    QTest::newRow("empty") << QString();
    QTest::newRow("too short") << good.left(7);
    QTest::newRow("initial box text") << QStringLiteral("GGGGGGGG");
    QTest::newRow("character outside the alphabet") << QString(good).replace(3, 1, QStringLiteral("Z"));
    QTest::newRow("vowel") << QString(good).replace(5, 1, QStringLiteral("E"));
    QTest::newRow("punctuation") << QString(good).replace(0, 1, QStringLiteral("-"));
    // One character that upper-cases to the two letters "FF": seven characters.
    QTest::newRow("ligature standing for FF") << QString(QChar(0xFB00)) + PasswordStartingWith(QStringLiteral("FF")).mid(2);
    QTest::newRow("progress code 729") << Keyed(PlaceCodes(15, 729, 3));
    QTest::newRow("sector 8") << Keyed(PlaceCodes(7 * 15 + 1, 10, 0));
    QTest::newRow("sector remainder 12") << Keyed(PlaceCodes(15 + 12, 10, 0));
    PasswordNibbles zeroBit{};
    zeroBit[1] |= 1;
    PutBits(zeroBit, ChecksumFirst, ChecksumLast, NibbleChecksum(zeroBit));
    QTest::newRow("always-zero bit set") << Keyed(zeroBit);
    // Every single-character change outside the key offset breaks the checksum.
    for (int pos = 0; pos < 8; ++pos) {
        if (pos == 4)
            continue;
        for (int v = 0; v < 16; ++v) {
            QString changed = good;
            changed[pos] = QLatin1Char(PasswordAlphabet[v]);
            if (changed != good)
                QTest::addRow("char %d changed to %c", pos + 1, PasswordAlphabet[v]) << changed;
        }
    }
}

void TestFrmPassword::badPasswordChangesNothing()
{
    QFETCH(QString, text);
    frmPassword w;
    w.ShowSettings(Busy);
    w.txtPassword->setText(text);
    QTest::mouseClick(w.cmdDecode, Qt::LeftButton);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
    QCOMPARE(m_messages[0].Text, QStringLiteral("Bad Password"));
    QCOMPARE(m_messages[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(w.ReadSettings(), Busy);
    QCOMPARE(w.txtPassword->text(), text);
}

void TestFrmPassword::reopenWhileOpenKeepsSettings()
{
    frmPassword* first = ShowPasswordWindow(m_owner.get());
    first->ShowSettings(Busy);
    first->txtPassword->setText(QStringLiteral("BBB"));
    frmPassword* again = ShowPasswordWindow(m_owner.get());
    QCOMPARE(again, first);
    QVERIFY(again->isVisible());
    QCOMPARE(again->ReadSettings(), Busy);
    QCOMPARE(again->txtPassword->text(), QStringLiteral("BBB"));
    QCOMPARE(m_owner->findChildren<frmPassword*>().size(), 1);
}

void TestFrmPassword::reopenAfterCloseStartsFresh()
{
    frmPassword* first = ShowPasswordWindow(m_owner.get());
    first->ShowSettings(Busy);
    CloseAndDelete(first);
    QCOMPARE(m_owner->findChildren<frmPassword*>().size(), 0);
    frmPassword* second = ShowPasswordWindow(m_owner.get());
    QVERIFY(second);
    QCOMPARE(second->ReadSettings(), PasswordSettings{});
    QCOMPARE(second->txtPassword->text(), MakePassword(PasswordSettings{}));
}

QTEST_MAIN(TestFrmPassword)
#include "test_frmPassword.moc"
