#include "SelectionLookUp.h"

#include <QPoint>
#include <algorithm>

#include "AppState.h"
#include "CharacterTable.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "Form.h"
#include "Forms.h"
#include "RichTextBox.h"
#include "TextFilters.h"
#include "Twips.h"
#include "Zoom.h"

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// The character at a 0-based position when it is Chinese, else "".
QString ChineseAt(const QString& text, qsizetype at)
{
    if (at < 0 || at >= text.size())
        return QString();
    const QString c = text.mid(at, 1);
    return HasNonHanzi(c) ? QString() : c;
}

bool PopupAllowed(const LookUpMember& member, const SelectionEvent& event)
{
    switch (member.Popup) {
    case PopupRule::Always:
        return true;
    case PopupRule::LessonTextStep:
        return event.CurrentActivity == 1;
    case PopupRule::WindowDecides:
        return event.WindowAllowsPopup;
    }
    return false;
}

void PlanPopup(const LookUpMember& member, const SelectionEvent& event, const QString& sel, qsizetype start,
               LookUpPlan& plan)
{
    if (sel.size() != 1 || HasNonHanzi(sel) || !PopupAllowed(member, event))
        return;
    plan.Popup = true;
    plan.Character = sel;
    plan.PrevCharacter = start > 0 ? ChineseAt(event.BoxText, start - 1) : QString();
    plan.NextCharacter = start < event.BoxText.size() - 1 ? ChineseAt(event.BoxText, start + 1) : QString();
    plan.Offset = member.Offset;
    if (member.ByGivenPinyin)
        plan.Pinyin = event.GivenPinyin;
}

void PlanOnline(const SelectionEvent& event, const QString& sel, qsizetype start, LookUpPlan& plan)
{
    const AppState& s = State();
    plan.Online = true;
    plan.OnlineWord = sel;
    plan.CharIndex = FindCharacterRecord(sel.left(1));
    if (plan.CharIndex < 1 || plan.CharIndex > s.CharacterCount || plan.CharIndex > s.CharacterTable.size())
        return;
    const QStringList& phrases = s.CharacterTable[plan.CharIndex - 1].Phrases;
    if (phrases.isEmpty())
        return;
    // Long enough for the longest word that starts at the character, wherever the loaded
    // phrases put it.
    qsizetype longest = 0;
    for (const QString& phrase : phrases)
        longest = std::max(longest, phrase.size());
    plan.FollowingText = event.BoxText.mid(start, longest + 1);
}

} // namespace

LookUpPlan PlanSelectionLookUp(const LookUpMember& member, const SelectionEvent& event)
{
    LookUpPlan plan;
    const qsizetype selStart = std::clamp<qsizetype>(event.SelStart, 0, event.BoxText.size());
    const QString selected = event.BoxText.mid(selStart, std::max(event.SelLength, 0));
    const QString sel = BlankTrim(selected);
    qsizetype leading = 0;
    while (leading < selected.size() && selected[leading] == QLatin1Char(' '))
        ++leading;
    const qsizetype start = selStart + leading;

    plan.Caret = int(selStart + selected.size());
    if (member.FillsSearchBox) {
        // The dictionary's own entry box: nothing is searched, the selection goes to the
        // search box for the learner to send, and Locate goes on from the clicked place.
        if (!sel.isEmpty() && !sel.contains(LineBreak)) {
            PlanPopup(member, event, sel, start, plan);
            if (sel.size() < 6) {
                plan.FillSearchBox = true;
                plan.SearchBoxText = sel;
            }
        }
        plan.Collapse = true;
        plan.SetLocateFrom = true;
        plan.LocateFrom = plan.Caret + 1;
        return plan;
    }

    if (sel.isEmpty())
        return plan;
    if (!sel.contains(LineBreak))
        PlanPopup(member, event, sel, start, plan);
    const bool shortChinese = sel.size() < 5 && !HasNonHanzi(sel);
    if (shortChinese && member.Local && event.LocalTicked) {
        plan.Local = true;
        plan.LocalWord = sel;
    }
    if (shortChinese && member.Online && event.OnlineTicked)
        PlanOnline(event, sel, start, plan);
    plan.Collapse = true;
    return plan;
}

LookUpPlan SelectionLookUp(const LookUpMember& member, Form& window, RichTextBox& box, double x, double y,
                           bool windowAllowsPopup, const QString& givenPinyin)
{
    Dictionary* dictionary = Forms::Find<Dictionary>();
    DictionaryOnline* online = Forms::Find<DictionaryOnline>();

    SelectionEvent event;
    event.BoxText = box.Text();
    event.SelStart = box.SelStart();
    event.SelLength = box.SelLength();
    event.LocalTicked = dictionary && dictionary->AutoLookUp();
    event.OnlineTicked = online && online->AutoLookUp();
    event.CurrentActivity = State().CurrentActivity;
    event.WindowAllowsPopup = windowAllowsPopup;
    event.GivenPinyin = givenPinyin;
    const LookUpPlan plan = PlanSelectionLookUp(member, event);

    if (plan.Popup) {
        if (Zoom* zoom = Forms::Find<Zoom>()) {
            const QPoint boxAt = box.mapTo(&window, QPoint(0, 0));
            const double boxLeft = Twips::FromPixelsX(boxAt.x());
            const double boxTop = Twips::FromPixelsY(boxAt.y());
            if (member.ByGivenPinyin)
                zoom->ShowPinYin(plan.Character, plan.Pinyin, window.Left(), boxLeft, x, window.Top(), boxTop, y,
                    plan.Offset);
            else
                zoom->ChaZhao(plan.Character, plan.PrevCharacter, plan.NextCharacter, window.Left(), boxLeft, x,
                    window.Top(), boxTop, y, plan.Offset);
        }
    }
    // The pop-up may have closed a window: find the dictionaries again.
    if (plan.Local) {
        if (Dictionary* d = Forms::Find<Dictionary>()) {
            QString word = plan.LocalWord;
            d->Common01(word, false);
        }
    }
    if (plan.Online) {
        if (DictionaryOnline* o = Forms::Find<DictionaryOnline>())
            o->Common01(plan.OnlineWord, plan.CharIndex, plan.FollowingText);
    }
    if (plan.Collapse)
        box.SetSelStart(plan.Caret);
    return plan;
}
