#pragma once
// The About box: title, version, credits, disclaimer, and the button that
// starts the desktop's system-information program.
#include <QDialog>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class CrLineLabel;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // The system beep sounded on load; tests replace it to count beeps.
    static std::function<void()>& Beep();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    CrLineLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    std::array<QFrame*, 2> Line1{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    bool m_centred = false;
};

// The four credit lines of the About box, joined by a carriage return alone.
QString AboutDescriptionText();

// Shows the About box modally over `owner` (Help > About).
void ShowAboutBox(QWidget* owner);

// Starts the system-information program; when it cannot be found or started,
// tells the user "System Information Is Unavailable At This Time".
void StartSysInfo(QWidget* parent);
