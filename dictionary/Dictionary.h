#pragma once
// The local dictionary window: a search box with its history, Search and Locate, the
// "Automatically" box of the selection look-up, the hit list and the entry of the chosen hit,
// which it speaks (one syllable on its own player, longer words through the shared syllable
// queue). Loaded once at start-up and kept until the program ends (its close box hides it);
// the study and tool windows show and hide it. The rules live in DictionaryRules.

#include <QString>

#include "DictionaryRules.h"
#include "Form.h"
#include "StackGrowth.h"

class ComboBox;
class ListView;
class QCheckBox;
class QPushButton;
class RichTextBox;
class WavePlayer;

class Dictionary : public Form {
    Q_OBJECT
public:
    Dictionary();

    // The one entry point of the local dictionary: searches word, fills the hit list and shows
    // the best hit (exact = true only from the vocabulary test). A lesson number query hands
    // the whole number back through word.
    void Common01(QString& word, bool exact);
    // Check2 ticked: selections in the reading windows are looked up here.
    bool AutoLookUp() const;

    // In a stack the window grows by up to MostGrowth twips where the screen has room, back
    // to the height it had before every stack had to fit 1024 x 768; the hit list and the
    // entry take the height.
    static const double MostGrowth;
    StackGrowth Growth{*this};

    ComboBox* Combo1{nullptr};
    QPushButton* Command1{nullptr};
    QPushButton* Command2{nullptr};
    QCheckBox* Check2{nullptr};
    ListView* ListView1{nullptr};
    RichTextBox* RichTextBox1{nullptr};
    // The window's own player, for single syllables.
    WavePlayer* MMControl1{nullptr};

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Resize() override;
    void Form_CloseRequested() override;
    // Locate going off after a word not found leaves the keys with the search box.
    QWidget* KeysAfter(QWidget* control) override;

private:
    void Command1_Click();
    void Combo1_Click() { Command1_Click(); }
    void Combo1_DblClick();
    void Command2_Click() { Locate(); }
    void Check2_Click();
    void ListView1_Click();
    void RichTextBox1_MouseUp(int button, int shift, double x, double y);
    void RichTextBox1_KeyDown(int keyCode, int shift);
    void RichTextBox1_KeyUp(int keyCode, int shift);
    void MMControl1_Done(int notifyCode);

    void ClearSearchBox();
    void Locate();
    void PlayWaveFile(const QString& path);
    // Moves the caret to the end of the selection, dropping the selection.
    void CollapseEntrySelection();

    DictionaryRules m_rules;
};
