#pragma once
// The on-line dictionary's rules that need no window: where the service lives, how a query
// is widened, encoded and found in the cache, and what kind of query a text is.

#include <QString>
#include <QStringList>

namespace OnlineService {
// The base address (scheme and host, optionally a port) of the web dictionary service. It is
// read from the first non-empty line of OnlineService.txt beside the program; the environment
// variable VELMORA_ONLINE_SERVICE overrides both. The default names an example host only.
QString ServiceAddress();
// The service's name in square brackets, shown as the source of every result.
QString SourceLabel();
// The file name of the setting beside the program, and the default address.
extern const char* const SettingFile;
extern const char* const DefaultAddress;
// The request for a query: ServiceAddress() + "/en/search/?q=" + the query percent-encoded
// as UTF-8 + "&simple=1".
QString SearchAddress(const QString& serviceAddress, const QString& query);
} // namespace OnlineService

// Whole-word widening: with smart on and a valid charIndex, the longest phrase of that
// character's record that followingText begins with (character and phrase together), when it
// is at least as long as word; otherwise word unchanged. Blanks are not collapsed here.
QString WidenQuery(const QString& word, int charIndex, const QString& followingText, bool smart);

// The most characters a result reads from its page into what it shows: its pronunciation,
// meanings and word list, and its example lines with their indents and ends. A real entry
// holds a few kilobytes. A page that gives more is no dictionary entry, and one paragraph of
// megabytes holds the window for seconds (past some eight, for good): it is answered as too
// large to show, and nothing of it is shown or cached.
constexpr qsizetype ResultTextLimit = 32 * 1024;
// The longest stored entry the cache answers with. A result within ResultTextLimit is stored
// with little more (separators, the pronunciation's brackets); twice the limit leaves room.
constexpr qsizetype StoredEntryLimit = 2 * ResultTextLimit;

// Whether a stored entry gives the learner something to read: anything besides line
// separators ("#", line breaks), blanks, ";" and the English layout's item numbers ("1) ").
// A meaning of any kind counts ("100", "%", "[archaic]"); a page that gave no result stores
// an entry of separators only. An entry longer than StoredEntryLimit counts as none: no page
// the reader takes gives one, and a record of it (written before the limit) would hold the
// window that shows it. Such a word is asked for again, and its new result takes its place.
bool EntryHasMeaning(const QString& entry);

// 1-based index of the first cached word equal to query ignoring case whose entry has a
// meaning, 0 when none: a record without one is asked for again.
int FindOnlineWord(const QString& query);

// A query whose first unit is above 256 (Chinese).
bool IsChineseQuery(const QString& query);
// A pinyin query: not Chinese, ends with a digit, and is not a number as a whole.
bool IsPinyinQuery(const QString& query);

// The progress bar's value for a progress event, given its current value: -1 gives 0;
// progress and maximum both at least 1 give the rounded percentage, unless it would pass
// 100; anything else keeps the current value.
int ProgressBarValue(qint64 progress, qint64 progressMax, int current);

// "Locate": the next occurrence of query in the result box's text (ignoring case), searched
// from the one-based locateStart; when there is none, once more from just after the heading
// (the search box text). selStart is -1 when nothing was found (the caret goes to the start).
struct LocateResult {
    int selStart{-1};
    int selLength{0};
    int locateStart{1};
};
LocateResult LocateNext(const QString& boxText, const QString& query, int locateStart, const QString& searchBoxText);

// The search history, most recent first: a word not yet in it (ignoring case) goes to the top;
// one already there keeps its place.
void AddToHistory(QStringList& history, const QString& word);

// What a mouse-up selection in the result box does: a short Chinese selection (fewer than 6)
// or a short other one (fewer than 20) goes into the search box; a single Chinese character
// also opens the character pop-up with its Chinese neighbours. The caret then moves to the
// end of the selection, which becomes the next "Locate" start.
struct SelectionLookup {
    bool fillSearchBox{false};
    QString searchText;
    bool popup{false};
    QString previous, next; // the neighbours of a pop-up character ("" when not Chinese)
    bool moveCaret{false};
    int caret{0};
};
SelectionLookup LookUpSelection(const QString& boxText, int selStart, int selLength, const QString& selText);
