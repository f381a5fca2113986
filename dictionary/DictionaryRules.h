#pragma once
// The rules of the local dictionary window, without its widgets: the search behind
// Dictionary::Common01 with the search history, the entry a chosen hit shows (and what it
// speaks), the example sentences with their cache, and the Locate walk through an entry.
//
// DictionaryRules holds the window's own variables under their names; each rule returns
// what the window must show, and the window puts it into its controls.

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "VocabularySearch.h"

// The texts the search box shows when it holds no word of the learner's: after a search
// without hits, and when the window is new.
inline constexpr char16_t NoHitSearchText[] = u"Sorry 对不起.";
inline constexpr char16_t InitialSearchText[] = u"Search  搜索";

// One row of the hit list, as its six columns show it: the padded hit number, the Chinese
// word, the English meanings, the numbered pinyin, the source kind and the source number.
struct HitRow {
    QString Index;
    QString Chinese;
    QString English;
    QString Pinyin;
    QString Origin1;
    QString Origin2;
};

// The row of vocabulary entry (1-based) as the hitNumber-th hit.
HitRow MakeHitRow(int hitNumber, int entry);

// What a search asks of the window.
struct SearchOutcome {
    enum Kind {
        Ignored,  // nothing searched; the hit list and the entry stay
        NotFound, // list emptied, "Sorry" in the search box and the entry, Locate disabled
        Found,    // list filled with Rows, entry emptied, Locate enabled
    };
    Kind Result{Ignored};
    bool FocusSearchBox{false}; // Ignored: give the search box the focus
    QVector<HitRow> Rows;
    bool HistoryAdded{false}; // the word now heads the history
    QString SearchBoxText;    // what the search box shows afterwards
    int OpenRow{0};           // 1-based row to select and show (0: none)
    bool ScrollIntoView{false};
};

// The state of the program an entry depends on.
struct EntryContext {
    bool QuizOpen{false};
    qint16 CurrentActivity{0};
    bool SharedPlayerPlaying{false};
    bool PopupVisible{false};
};

// What the entry speaks: nothing, a syllable sequence through the shared syllable queue, or
// one syllable file on the window's own player (with the tone label).
struct EntrySound {
    enum Kind { Nothing, SyllableQueue, SyllableFile };
    Kind Play{Nothing};
    QString Sequence; // dotless numbered pinyin for the syllable queue
    QString Path;     // the syllable's wave file
    QString Tone;     // "0".."4"
    QString Syllable; // e.g. "hao3"; a light tone plays and shows the first tone's file ("ma1")
};

struct EntryView {
    EntrySound Sound;
    QString Rtf; // the whole entry, replacing what the entry box showed
};

// One step of Locate: the occurrence to select, or nothing found (caret to the start).
struct LocateStep {
    bool Found{false};
    int SelStart{0}; // 0-based
    int SelLength{0};
    int LocateFrom{1}; // where the next press goes on (1-based)
};

// The examples of an entry while a quiz is open: one grey line in their place.
QString HiddenExamplesRtf();

// The word without "(", ")", "（" and "）", the other characters in order.
QString StripParentheses(const QString& s);

// The word Locate looks for: the first part of a headword that is not empty, where brackets
// and their content are skipped and "." and ")" close a part ("打(电话)" -> "打").
QString LocateTarget(const QString& headword);

// One press of Locate: target searched, ignoring case, from locateFrom (1-based) in the entry
// text; when it is not there, once more from just after the headword (searchBoxLength + 1).
LocateStep LocateNext(const QString& target, const QString& entryText, int locateFrom, int searchBoxLength);

// Adds word at the top of history unless an entry equals it ignoring case; true when added.
bool AddSearchHistory(QStringList& history, const QString& word);

class DictionaryRules {
public:
    // The window's variables.
    QString LastSearchWord;    // last search that found hits
    bool ShowingHits{false};   // the hit list holds the last search's hits
    bool Inactive{true};       // the window is not the active window (it is created hidden)
    int LocateFrom{1};         // where Locate goes on in the entry (1-based)
    QStringList ExampleCache;  // per hit (hit k at [k - 1]): "" not looked up, "0" none, else RTF lines
    QStringList History;       // the search box's list, most recent first

    // Dictionary.Common01: searches word (exact matters for Chinese words only). A lesson
    // number query hands the whole number back through word ("03" -> "3").
    SearchOutcome Search(QString& word, bool exact);

    // ListView1_Click: the entry of the chosen hit and what it speaks. Empty (nothing to show,
    // nothing to play) while the list holds no hits of a search.
    std::optional<EntryView> ShowHit(const HitRow& row, const EntryContext& context);

    // The example lines of hit index for word, looked up once per search and kept in
    // ExampleCache; "0" when no sentence holds it.
    QString FindExampleSentences(const QString& word, int index);

    // Builds the index of the search now, over the loaded vocabulary.
    void PrepareSearch();

private:
    VocabularySearch m_search;
};
