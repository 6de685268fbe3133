#pragma once
// "VornGen": the password generator window. One control per password
// setting; every change of a setting shows the new password at once.
#include "password/PasswordSettings.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmPassword : public QWidget {
    Q_OBJECT
public:
    explicit frmPassword(QWidget* owner = nullptr);

    // The settings the controls currently show.
    PasswordSettings ReadSettings() const;
    // Sets every control to `settings` (each change regenerates).
    void ShowSettings(const PasswordSettings& settings);

    // Controls (control arrays: index = sector - 1).
    QLabel* Label1 = nullptr;
    QComboBox* cboSector = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboRations = nullptr;
    std::array<QRadioButton*, 2> optSkill{};
    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, 6> lblStage{};
    std::array<QComboBox*, 6> cboSectorProgress{};
    QGroupBox* Frame2 = nullptr;
    std::array<QCheckBox*, 6> chkSectorRation{};
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdDecode = nullptr;

public slots:
    void cboSector_Click();
    void cboRations_Click();
    void cboSectorProgress_Click(int index);
    void chkSectorRation_Click(int index);
    void optSkill_Click(int index);
    void cmdDecode_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void Regenerate();
    // The keystroke filter of txtPassword; true when the key is consumed.
    bool txtPassword_KeyPress(class QKeyEvent* event);

    bool Loading = false;
};

// Tools > Password Generator: opens the window modeless, owned by `owner`,
// or only brings it forward when it is already open. Closing destroys it,
// so the next opening starts from the defaults. Returns the window.
frmPassword* ShowPasswordWindow(QWidget* owner);
