#pragma once
// The settings panel beside the start menu: backdrop mode, backdrop picture, the tutor's
// mailbox, the learner's name, the chat partner's address and port, and the uninstaller.
// Each Save/Set button is enabled only while its boxes differ from what is saved; edits not
// saved are dropped when another window of the program takes the focus.

#include "ControlKit.h"
#include "MenuPanel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Setting : public MenuPanel {
    Q_OBJECT
public:
    Setting();

    // The mail domain shown after the tutor's mailbox name.
    static QString MailDomain();

protected:
    void Form_Load() override;
    void Form_Deactivate() override;

private:
    void Option1_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void AddressChanged();
    void SaveOneLine(QLineEdit* box, QPushButton* button, const QString& fileName, QString& shared);

    QLabel* Label3{nullptr};
    Kit::ControlRow<QLabel> Label2{this, "Label2"}; // 0..5
    QLabel* Label1{nullptr};
    QLabel* Label4{nullptr};
    Kit::ControlRow<QRadioButton> Option1{this, "Option1"}; // 0..2: full screen, taskbar, hide
    QLineEdit* Text1{nullptr};
    QLineEdit* Text2{nullptr};
    QLineEdit* Text3{nullptr};
    QLineEdit* Text4{nullptr};
    QPushButton* Command1{nullptr};
    QPushButton* Command2{nullptr};
    QPushButton* Command3{nullptr};
    QPushButton* Command4{nullptr};
    QPushButton* Command5{nullptr};

    // The address and port texts last loaded or saved.
    QString SavedAddressText;
    QString SavedPortText;
};
