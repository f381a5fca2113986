#pragma once
// The chat tool (opened from the Assistants menu, CurrentActivity 16): ten message rows with
// their read-aloud buttons and a scroll bar, the input line with Send and Connect, "Clear
// history", the read-aloud box, the status line and the conversion's progress bar. F3 opens
// and closes the local test partner (ChatTest) just above the frame of the input line.
// The rules live in ChatSession; this window shows what it reports.

#include <QString>
#include <array>

#include "ChatSession.h"
#include "ControlKit.h"
#include "ToolWindow.h"

class ComboBox;
class QCheckBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollBar;
class RichTextBox;

class Chat : public ToolWindow {
    Q_OBJECT
public:
    Chat();
    ~Chat() override;

    // Shows the last page now. Messages show it through ShowLastPageSoon.
    void ShowLastPage();
    void SaveHistory();
    void ReadRowAloud(int row);
    void ToggleTestPartner();
    bool TestPartnerOpen() const { return m_testPartnerOpen; }

    // What the test partner borrows: the link to re-point and the input line to focus.
    ChatSession& Session() { return m_session; }
    void FocusInput();

    QWidget* FirstFocus() override;

protected:
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void CloseTool() override;
    void Tool_Unload() override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command4_Click(int row);
    void Command5_Click();
    void Check1_Click();
    void VScroll1_Change(int value);
    void Text1_MouseUp(int row, double x, double y);
    void MessageAdded(int index, bool received);
    void SoundBuilt(int index);
    void FillRow(int row, int message);
    void SetRow(int row, const QString& text, bool received);
    void ShowRows(const ChatRows::Page& page);
    // The last page is shown once the event loop gets back, so a burst of messages read in
    // one turn refills the rows once; whatever reads the rows first shows it at once.
    void ShowLastPageSoon();
    void ShowDueRows();

    ChatSession m_session;
    bool m_testPartnerOpen{false};
    bool m_lastPageDue{false};
    // What each row shows, so a row whose text and paper stay is not set (and laid out) again.
    struct RowShown {
        QString Text;
        bool Received{false};
    };
    std::array<RowShown, ChatRows::Count> m_rowShown{};
    QMetaObject::Connection m_rowFocus;

    Kit::ControlRow<RichTextBox> Text1{this, "Text1"};
    Kit::ControlRow<QPushButton> Command4{this, "Command4"};
    QScrollBar* VScroll1{nullptr};
    QLabel* Label1{nullptr};
    QFrame* Shape1{nullptr};
    ComboBox* Combo1{nullptr};
    QPushButton* Command1{nullptr};
    QPushButton* Command5{nullptr};
    QCheckBox* Check1{nullptr};
    QLabel* Label3{nullptr};
    QProgressBar* ProgressBar1{nullptr};
    QPushButton* Command2{nullptr};
    QPushButton* Command3{nullptr};
};
