#pragma once
// The on-line dictionary window: a search box with its history, "Search" and "Locate", the
// two look-up options, the result box and the page's progress. Loaded once at start-up and
// kept until the program ends; the window stacks show, place and hide it. The look-up road
// itself (cache, request, page reading) is OnlineLookup; this window shows what it hands over.

#include <QString>
#include <memory>

#include "Form.h"
#include "OnlineLookup.h"
#include "StackGrowth.h"

class ComboBox;
class QCheckBox;
class QProgressBar;
class QPushButton;
class RichTextBox;
class WebPage;

class DictionaryOnline : public Form, public OnlineView {
    Q_OBJECT
public:
    DictionaryOnline();
    ~DictionaryOnline() override;

    // Looks word up: widened through the phrases of the character at charIndex of the
    // character table when "Smartly" is ticked (followingText is the caller's text from that
    // character on), blanks collapsed, then from the cache or the service. 0 and "" when the
    // caller has none.
    void Common01(const QString& word, int charIndex, const QString& followingText);
    // The text that was last looked up (after widening and blank collapsing).
    QString LastQuery() const;
    void SetLastQuery(const QString& query);
    // Check1, "Automatically": the reading windows send their selections here while it is
    // ticked. Setting it by program does not touch the local dictionary's box.
    bool AutoLookUp() const;
    void SetAutoLookUp(bool on);

    // The form's design size, in twips.
    static constexpr double DesignWidth = 9360;
    static constexpr double DesignHeight = 1560;
    // In a tool stack the window grows by up to MostGrowth twips where the screen has room,
    // back to the height it had before every stack had to fit 1024 x 768; the result box takes
    // the height.
    static constexpr double MostGrowth = 4560 - DesignHeight;
    StackGrowth Growth{*this};

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Resize() override;
    // The window lives until the program ends: the window manager's close hides it.
    void Form_CloseRequested() override;

    // OnlineView
    QString ShowResult(const QString& rtf) override;
    void SetLoading(bool loading) override;
    void SetProgress(int value) override;
    int Progress() const override;
    void AddSearchHistory(const QString& word) override;
    void SetSearchText(const QString& text) override;
    void CaretToStart() override;

private:
    void Check1_Click();
    void Combo1_Click();
    void Combo1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void RichTextBox1_MouseUp(int button, int shift, double x, double y);
    void RichTextBox1_KeyDown(int keyCode, int shift);
    void RichTextBox1_KeyUp(int keyCode, int shift);
    void ShowHelpText();

    ComboBox* Combo1{nullptr};
    QPushButton* Command1{nullptr};
    QPushButton* Command2{nullptr};
    QCheckBox* Check1{nullptr};
    QCheckBox* Check2{nullptr};
    RichTextBox* RichTextBox1{nullptr};
    QProgressBar* ProgressBar1{nullptr};
    WebPage* WebBrowser1{nullptr};
    // Declared after the controls it shows into: it goes first when the window is destroyed.
    std::unique_ptr<OnlineLookup> m_lookup;
    // One-based position in the result text from which "Locate" searches.
    int LocateStart{1};
};
