#pragma once
// The reading helper's rules, without widgets: how an opened file is read, what a mouse-up
// over a selection does, and when the text is saved. The window ReadingHelper carries them
// out on its controls; the pinyin of a selection is found by the pair rule (PairReading.h).

#include <QByteArray>
#include <QString>

// --- opening a file ------------------------------------------------------------------------

// Names the Open button reads as plain text: the last three characters are "txt", in any case.
bool IsPlainTextName(const QString& path);

// A plain text file's text: UTF-8 when the bytes are valid UTF-8 (a byte-order mark dropped),
// otherwise GB18030. Lines (ended by CR LF, LF or CR) are joined with CR LF; the last line
// break of the file ends the text. *ok is false when the bytes are neither (some became U+FFFD).
QString DecodeReadingText(const QByteArray& bytes, bool* ok = nullptr);

// What Open makes of a file. A .txt file is plain text; any other is RTF only when its bytes
// start with "{\rtf" and plain text otherwise. A plain text that is neither UTF-8 nor GB18030
// fails: the learner's file is not taken in with replacement characters.
struct OpenedReading {
    enum Kind { Failed, PlainText, Rtf };
    Kind Result{Failed};
    QString Text;  // PlainText: the text to show
    QString Error; // Failed: why, for the learner
};
// Files larger than maxBytes are refused unread.
OpenedReading ReadReadingFile(const QString& path, qint64 maxBytes);

// --- the mouse-up over a selection ------------------------------------------------------------

// What the window does for a selection, called by RouteReadingSelection in this order.
class ReadingSelectionActions {
public:
    // The character pop-up for one Chinese character (Ctrl held).
    virtual void ShowPopup(const QString& ch) = 0;
    // The on-line dictionary looks word up; returns the query it really looked up (widened
    // through the character's phrases).
    virtual QString LookUpOnline(const QString& word, int charIndex, const QString& context) = 0;
    virtual void LookUpLocal(const QString& word) = 0;
    // Remembers text as the last annotated text, shows the progress and arms the 100 ms
    // start of the pinyin look-up.
    virtual void StartAnnotation(const QString& text) = 0;
    // Reads the stored pinyin of the last annotated text aloud again.
    virtual void Replay(const QString& pinyin) = 0;
    // Colours length characters from start at random.
    virtual void Colour(int start, int length) = 0;
    // The selection collapses to caret.
    virtual void Collapse(int caret) = 0;

protected:
    ~ReadingSelectionActions() = default;
};

struct ReadingSelection {
    QString BoxText; // the box's text (CR LF between paragraphs)
    int SelStart{0};
    int SelLength{0};
    int Shift{0};              // 1 Shift, 2 Ctrl, 4 Alt
    bool LocalTicked{false};   // the local dictionary's automatic look-up
    bool OnlineTicked{false};  // the on-line dictionary's
    bool ColourTicked{false};  // "Change color"
    bool Annotating{false};    // a pinyin look-up is running (its progress is shown)
    QString LastText;          // the last annotated text
    QString LastPinyin;        // its pinyin
};

// The selection, blanks trimmed, of length L: Ctrl with one Chinese character opens the
// pop-up and nothing else; more than 20 characters do nothing; 1 to 4 go to the on-line
// dictionary (all Chinese, its box ticked) and then to the local one (all Chinese, its box
// ticked); what the local dictionary did not take, and every selection of 5 to 20, is read
// aloud: a new text is annotated, the last one is replayed from its stored pinyin, nothing
// while an annotation runs. Selections of 1 to 4 are coloured while "Change color" is
// ticked.
void RouteReadingSelection(const ReadingSelection& selection, ReadingSelectionActions& actions);

// --- saving ----------------------------------------------------------------------------------

// The autosave of the text: the first change arms a 60-second clock, whose fifth tick saves;
// closing saves whatever is pending.
class ReadingAutosave {
public:
    // The text changed. True when the clock must start now (nothing was pending).
    bool Changed();
    // One tick of the clock. True at the fifth: the count is back at 0, the clock stops and
    // the text is saved.
    bool Tick();
    // Saved or freshly loaded: nothing pending.
    void Clear() { m_pending = false; }
    void ResetTicks() { m_ticks = 0; }
    bool Pending() const { return m_pending; }
    int Ticks() const { return m_ticks; }

private:
    bool m_pending{false};
    int m_ticks{0};
};
