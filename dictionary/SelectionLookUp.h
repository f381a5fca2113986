#pragma once
// The look-up every reading window runs when the mouse is released over a selection in one
// of its rich-text boxes: one Chinese character opens the character pop-up (Zoom), and a
// short all-Chinese selection goes to the local dictionary when its "Automatically" box is
// ticked, or to the on-line dictionary when that one's is (the two boxes exclude each other).
// Afterwards the selection collapses to its end.
//
// PlanSelectionLookUp decides, from the box's text and selection and the window's entry in
// the members table, without touching a window; SelectionLookUp gathers what the plan needs
// from a real box and carries it out.

#include <QString>

class Form;
class RichTextBox;

// When a member shows the pop-up for a one-character selection.
enum class PopupRule {
    Always,
    LessonTextStep, // only while CurrentActivity is 1 (the lesson text window)
    WindowDecides,  // under the window's own conditions, passed with the selection
};

// One reading window's part in the look-up.
struct LookUpMember {
    const char* Window;
    PopupRule Popup;
    bool ByGivenPinyin; // the pop-up shows the window's own syllable (Zoom::ShowPinYin)
    qint16 Offset;      // twips kept between the pointer and the pop-up
    bool Local;         // looks short selections up in the local dictionary
    bool Online;        // and on-line
    bool FillsSearchBox; // the dictionary's own entry box: the selection goes to its search box
};

namespace LookUpMembers {
inline constexpr LookUpMember Text{"Text", PopupRule::LessonTextStep, false, 260, true, false, false};
inline constexpr LookUpMember Exercise3{"Exercise3", PopupRule::Always, false, 260, true, false, false};
inline constexpr LookUpMember FindSentence{"FindSentence", PopupRule::Always, false, 260, true, false, false};
inline constexpr LookUpMember Spoken{"Spoken", PopupRule::Always, false, 130, true, true, false};
inline constexpr LookUpMember SentencesSingle{"SentencesSingle", PopupRule::WindowDecides, true, 260, true, true, false};
inline constexpr LookUpMember ReadingHelper{"ReadingHelper", PopupRule::WindowDecides, false, 260, true, true, false};
inline constexpr LookUpMember Chat{"Chat", PopupRule::Always, false, 130, true, true, false};
inline constexpr LookUpMember Dictionary{"Dictionary", PopupRule::Always, false, 130, false, false, true};
inline constexpr LookUpMember DictionaryOnline{"DictionaryOnline", PopupRule::WindowDecides, false, 130, false, false, false};
} // namespace LookUpMembers

// The box and the state the decision reads.
struct SelectionEvent {
    QString BoxText;  // the box's plain text (CR LF between paragraphs)
    int SelStart{0};  // 0-based
    int SelLength{0};
    bool LocalTicked{false};  // Dictionary's "Automatically"
    bool OnlineTicked{false}; // DictionaryOnline's "Automatically"
    qint16 CurrentActivity{0};
    bool WindowAllowsPopup{true}; // the window's own conditions (PopupRule::WindowDecides)
    QString GivenPinyin;          // ByGivenPinyin members: the selected character's syllable
};

// What to do, in this order: pop-up, local look-up, on-line look-up, search box, collapse.
struct LookUpPlan {
    bool Popup{false};
    QString Character;
    QString PrevCharacter; // "" when there is none or it is not Chinese
    QString NextCharacter;
    QString Pinyin; // ByGivenPinyin members
    qint16 Offset{0};

    bool Local{false};
    QString LocalWord;

    bool Online{false};
    QString OnlineWord;
    int CharIndex{0};      // character-table index of the word's first character
    QString FollowingText; // the box's text from the selected character on, for the widening

    bool FillSearchBox{false}; // FillsSearchBox members (the dictionary applies these two)
    QString SearchBoxText;
    bool SetLocateFrom{false};
    int LocateFrom{0};

    bool Collapse{false};
    int Caret{0}; // the selection's end
};

// The selection is the box's selected text with the blanks at its ends removed; the
// neighbouring characters and the following text are taken from where that trimmed text
// really starts.
LookUpPlan PlanSelectionLookUp(const LookUpMember& member, const SelectionEvent& event);

// The MouseUp handler's whole work for box of window: x and y are the pointer in the box
// (twips). Calls Zoom::ChaZhao or Zoom::ShowPinYin, Dictionary::Common01 and
// DictionaryOnline::Common01 on the loaded windows, then collapses the selection. Returns
// the plan, so the dictionary can apply its own search-box part.
LookUpPlan SelectionLookUp(const LookUpMember& member, Form& window, RichTextBox& box, double x, double y,
                           bool windowAllowsPopup = true, const QString& givenPinyin = QString());
