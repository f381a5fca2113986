// The local dictionary over the whole course vocabulary, asked every query a learner can make,
// once each: every word, every character, every pinyin syllable and every word's pinyin,
// every English word of the meanings, every lesson number, and a set of misses.
//
// Runs over the data tree the build lays out (build/Velmora, or VELMORA_TREE), on a real X
// display with a window manager for the window's search. A benchmark that cannot measure (no
// display for the window, no vocabulary, no query chosen) fails the run (exit status 1):
//   bench/on_virtual_display.sh build/bench/dictionary_bench
// BM_EveryQuery times the index the dictionary uses beside the plain walk through the table
// that defines the answers, and checks that the two give the same hits for every query: a
// difference ends the benchmark with the query and both answers (exit status 1).
// BM_WindowSearch is the dictionary window's whole search for the same queries: hits
// listed, the best hit's entry and examples built, the window painted, with its processor
// time beside, and a repaint of the whole window as its reference. Both print p50, p99 and
// max per kind of query, in microseconds. BM_BuildIndex builds the index, round after round
// beside one walk through the table. Each ends with exit status 1 when its ratio misses its
// bound. DICTIONARY_BENCH_EVERY=n keeps every n-th query only, DICTIONARY_BENCH_WORDS="a|好"
// only the words given (for a quick run or a profiler; the query bounds are not checked then).

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSet>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

#include "AppState.h"
#include "BenchTree.h"
#include "Dictionary.h"
#include "DictionaryRules.h"
#include "Forms.h"
#include "LoadingSteps.h"
#include "TextFilters.h"
#include "VocabularySearch.h"
#include "Zoom.h"

namespace {

QString Tree() { return BenchTree::Path(); }

using BenchTree::NoProgress;

// The regression bounds. The index answers a query from the few entries it may find, where the
// walk reads the whole table: at least ten times faster (medians over every query; about 60
// when this was written). Building it costs at most seven walks through the table for one
// English word (about 5). The window's whole search, hits listed, entry built and window
// painted, costs at most two and a half repaints of the whole window (medians; about 1).
constexpr double WalkOverIndexAtLeast = 10;
constexpr double BuildOverWalkAtMost = 7;
constexpr double SearchOverRepaintAtMost = 2.5;

// The course tables of the data tree, loaded once.
bool LoadTables()
{
    static const bool loaded = [] {
        ResetState();
        State().AppPath = Tree();
        NoProgress progress;
        LoadCourseTables(progress);
        return State().WordCount > 0;
    }();
    return loaded;
}

struct LearnerQuery {
    const char* Kind;
    QString Word;
    bool Exact{false};
};

bool StartsWithLatinLetter(QStringView w)
{
    return !w.isEmpty() && ((w[0] >= u'a' && w[0] <= u'z') || (w[0] >= u'A' && w[0] <= u'Z'));
}

// True when DICTIONARY_BENCH_WORDS chooses the words: too few and too alike for the bounds.
bool ChosenWords()
{
    return !qEnvironmentVariableIsEmpty("DICTIONARY_BENCH_WORDS");
}

// A bound over every query; for chosen words the ratio is only printed.
void CheckQueryRatio(const char* ratio, double measured, double bound, bool atLeast)
{
    if (ChosenWords())
        std::printf("%s: %.3g (no bound for chosen words)\n", ratio, measured);
    else if (atLeast)
        BenchTree::CheckAtLeast(ratio, measured, bound);
    else
        BenchTree::CheckAtMost(ratio, measured, bound);
}

// Every query a learner can make of the loaded vocabulary, each once, grouped by kind.
std::vector<LearnerQuery> EveryQuery()
{
    const AppState& s = State();
    std::vector<LearnerQuery> queries;
    QSet<QString> seen;
    auto add = [&](const char* kind, const QString& word, bool exact = false) {
        if (word.isEmpty() || seen.contains(word + QChar(exact ? u'1' : u'0')))
            return;
        seen.insert(word + QChar(exact ? u'1' : u'0'));
        queries.push_back({kind, word, exact});
    };
    for (int i = 0; i < s.WordCount; ++i) {
        add("word", s.WordText[0][i]);
        // The vocabulary test looks its words up exactly.
        add("word, exact", s.WordText[0][i], true);
    }
    for (int i = 0; i < s.WordCount; ++i)
        for (const QChar c : s.WordText[0][i])
            if (!HasNonHanzi(QString(c)))
                add("character", QString(c));
    for (const CharacterRecord& r : s.CharacterTable)
        add("character", r.Character);
    for (int i = 0; i < s.WordCount; ++i) {
        const QString pinyin = CollapseSpaces(BlankTrim(StripPunctuation(s.WordPinyin[i])));
        for (const QString& syllable : pinyin.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            add("pinyin syllable", syllable);
    }
    for (int i = 0; i < s.WordCount; ++i) {
        const QString pinyin = CollapseSpaces(BlankTrim(StripPunctuation(s.WordPinyin[i])));
        if (pinyin.contains(QLatin1Char(' ')))
            add("pinyin word", pinyin);
    }
    for (int i = 0; i < s.WordCount; ++i) {
        const QString english = s.WordText[1][i];
        QString token;
        for (const QChar c : english + QLatin1Char(' ')) {
            if (c.isLetter() || c == QLatin1Char('\'') || c == QLatin1Char('-')) {
                token += c;
                continue;
            }
            if (StartsWithLatinLetter(token))
                add("english word", token);
            token.clear();
        }
    }
    for (int n = 1; n <= 91; ++n)
        add("lesson", QString::number(n));
    for (const char16_t* miss : {u"0", u"92", u"-3", u"1e9", u"zzzz", u"xq", u"qa1", u"hao3 zzz5", u"zz9",
             u"Qwertyuiop", u"a b c d", u"龘", u"齉齉", u"你好？", u"。", u"\U00020000", u"ÄÖ", u"(", u";", u"abc;",
             u"go\U0001F600", u"ab\U00020000"})
        add("miss", QString::fromUtf16(miss));
    const int every = std::max(1, qEnvironmentVariableIntValue("DICTIONARY_BENCH_EVERY"));
    const QStringList only = qEnvironmentVariable("DICTIONARY_BENCH_WORDS").split(QLatin1Char('|'), Qt::SkipEmptyParts);
    std::vector<LearnerQuery> kept;
    for (size_t i = 0; i < queries.size(); i += size_t(every))
        if (only.isEmpty() || only.contains(queries[i].Word))
            kept.push_back(queries[i]);
    return kept;
}

struct Figures {
    std::vector<double> Us;
};

using BenchTree::Percentile;

// One table: per kind, count, p50, p99 and max of each column of figures.
void PrintTable(const char* title, const std::vector<const char*>& columns,
                const std::map<QString, std::vector<Figures>>& byKind)
{
    std::printf("\n%s (us)\n%-18s %6s", title, "kind", "count");
    for (const char* c : columns)
        std::printf("  %9s p50 %9s p99 %9s max", c, c, c);
    std::printf("\n");
    std::vector<Figures> all(columns.size());
    for (const auto& [kind, figures] : byKind) {
        std::printf("%-18s %6zu", qPrintable(kind), figures[0].Us.size());
        for (size_t c = 0; c < columns.size(); ++c) {
            std::printf("  %13.1f %13.1f %13.1f", Percentile(figures[c].Us, 0.5), Percentile(figures[c].Us, 0.99),
                        Percentile(figures[c].Us, 1.0));
            all[c].Us.insert(all[c].Us.end(), figures[c].Us.begin(), figures[c].Us.end());
        }
        std::printf("\n");
    }
    std::printf("%-18s %6zu", "all", all[0].Us.size());
    for (const Figures& f : all)
        std::printf("  %13.1f %13.1f %13.1f", Percentile(f.Us, 0.5), Percentile(f.Us, 0.99), Percentile(f.Us, 1.0));
    std::printf("\n\n");
    std::fflush(stdout);
}

// Processor time of this thread so far, in microseconds.
double ThreadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

QString Hits(const QVector<int>& hits)
{
    QStringList out;
    for (int k : hits)
        out << QString::number(k);
    return out.join(QLatin1Char(','));
}

// Index and linear walk for every query, once each; the answers must agree.
void BM_EveryQuery(benchmark::State& state)
{
    if (!LoadTables()) {
        state.SkipWithError("no vocabulary in the data tree");
        return;
    }
    const std::vector<LearnerQuery> queries = EveryQuery();
    if (queries.empty()) {
        state.SkipWithError("no query to ask (DICTIONARY_BENCH_WORDS chose none of the words)");
        return;
    }
    VocabularyIndex index;
    index.Build(State());
    std::map<QString, std::vector<Figures>> byKind;
    int mismatches = 0;
    for (auto _ : state) {
        byKind.clear();
        for (const LearnerQuery& q : queries) {
            const VocabularyQuery query = ClassifyQuery(q.Word);
            QElapsedTimer clock;
            clock.start();
            const QVector<int> indexed = index.Search(State(), query, q.Exact);
            const double indexedUs = double(clock.nsecsElapsed()) / 1e3;
            clock.restart();
            const QVector<int> linear = SearchVocabularyLinear(State(), query, q.Exact);
            const double linearUs = double(clock.nsecsElapsed()) / 1e3;
            if (indexed != linear) {
                ++mismatches;
                std::fprintf(stderr, "MISMATCH for %s \"%s\" (exact %d): index [%s], table walk [%s]\n", q.Kind,
                             qPrintable(q.Word), int(q.Exact), qPrintable(Hits(indexed)), qPrintable(Hits(linear)));
            }
            std::vector<Figures>& f = byKind[QString::fromLatin1(q.Kind)];
            f.resize(2);
            f[0].Us.push_back(indexedUs);
            f[1].Us.push_back(linearUs);
        }
    }
    if (mismatches) {
        std::fprintf(stderr, "FAILED: the index and the table walk disagree on %d queries\n", mismatches);
        std::exit(1);
    }
    PrintTable("one query of each kind, index beside the table walk", {"index", "walk"}, byKind);
    std::vector<double> indexUs, walkUs;
    for (const auto& [kind, figures] : byKind) {
        indexUs.insert(indexUs.end(), figures[0].Us.begin(), figures[0].Us.end());
        walkUs.insert(walkUs.end(), figures[1].Us.begin(), figures[1].Us.end());
    }
    CheckQueryRatio("table walk / index, medians over every query",
                    BenchTree::Median(walkUs) / BenchTree::Median(indexUs), WalkOverIndexAtLeast, true);
    state.counters["queries"] = double(queries.size());
    state.counters["words"] = State().WordCount;
}
BENCHMARK(BM_EveryQuery)->Unit(benchmark::kMillisecond)->Iterations(1);

// Notes when any widget of one window has been painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* window)
        : m_window(window)
    {
    }
    bool Painted{false};

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == m_window)
            Painted = true;
        return false;
    }

private:
    QWidget* m_window;
};

using BenchTree::RunUntil;

// The dictionary window's whole search on the X display, for every query once: Common01 (hits
// listed, the best hit chosen, its entry and examples built and shown), then the event loop
// until the window has been painted. After each, as the reference, the whole window repainted.
void BM_WindowSearch(benchmark::State& state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X display: run it through bench/on_virtual_display.sh");
        return;
    }
    qputenv("VELMORA_SILENT_SOUND", "1");
    if (!LoadTables()) {
        state.SkipWithError("no vocabulary in the data tree");
        return;
    }
    std::vector<LearnerQuery> queries = EveryQuery();
    // The vocabulary test's exact look-up runs with that window open: the plain search is the
    // learner's here.
    std::erase_if(queries, [](const LearnerQuery& q) { return q.Exact; });
    if (queries.empty()) {
        state.SkipWithError("no query to ask (DICTIONARY_BENCH_WORDS chose none of the words)");
        return;
    }
    if (!Forms::HasFactory(QStringLiteral("Dictionary")))
        Forms::RegisterFactory<Dictionary>();
    Dictionary* dictionary = Forms::Load<Dictionary>();
    dictionary->Show(Form::Modeless);
    dictionary->activateWindow();
    PaintWatch painted(dictionary);
    qApp->installEventFilter(&painted);
    // The window manager maps and frames the window at its own pace.
    RunUntil([] { return false; }, 300);
    std::map<QString, std::vector<Figures>> byKind;
    std::vector<double> searchUs, repaintUs;
    bool stalled = false;
    for (auto _ : state) {
        byKind.clear();
        for (const LearnerQuery& q : queries) {
            QString word = q.Word;
            painted.Painted = false;
            const double cpuStart = ThreadCpuUs();
            QElapsedTimer clock;
            clock.start();
            dictionary->Common01(word, false);
            stalled = !RunUntil([&] { return painted.Painted; }, 2000);
            std::vector<Figures>& f = byKind[QString::fromLatin1(q.Kind)];
            f.resize(2);
            f[0].Us.push_back(double(clock.nsecsElapsed()) / 1e3);
            f[1].Us.push_back(ThreadCpuUs() - cpuStart);
            searchUs.push_back(f[0].Us.back());

            painted.Painted = false;
            clock.restart();
            dictionary->update();
            stalled = stalled || !RunUntil([&] { return painted.Painted; }, 2000);
            repaintUs.push_back(double(clock.nsecsElapsed()) / 1e3);
            if (stalled)
                break;
        }
    }
    qApp->removeEventFilter(&painted);
    Forms::Unload(QStringLiteral("Dictionary"));
    if (stalled) {
        state.SkipWithError("the window was not painted within 2 s");
        return;
    }
    // The processor time of the search beside its wall-clock time: on a busy machine the
    // difference is time the search spent waiting for a processor.
    PrintTable("the dictionary window's whole search, painted", {"window", "cpu"}, byKind);
    std::printf("the whole window repainted: median %.1f us, p99 %.1f us\n", BenchTree::Median(repaintUs),
                Percentile(repaintUs, 0.99));
    CheckQueryRatio("search / repaint of the whole window, medians",
                    BenchTree::Median(searchUs) / BenchTree::Median(repaintUs), SearchOverRepaintAtMost, false);
    state.counters["queries"] = double(queries.size());
}
BENCHMARK(BM_WindowSearch)->Unit(benchmark::kMillisecond)->Iterations(1);

// Building the index, which the dictionary window does once when it loads, round after round
// beside one walk through the whole table for an English word.
void BM_BuildIndex(benchmark::State& state)
{
    if (!LoadTables()) {
        state.SkipWithError("no vocabulary in the data tree");
        return;
    }
    const VocabularyQuery walkQuery = ClassifyQuery(QStringLiteral("good"));
    std::vector<double> buildMs, walkMs;
    for (auto _ : state) {
        auto index = std::make_unique<VocabularyIndex>();
        QElapsedTimer clock;
        clock.start();
        index->Build(State());
        buildMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        state.SetIterationTime(buildMs.back() / 1e3);
        index.reset();
        clock.restart();
        benchmark::DoNotOptimize(SearchVocabularyLinear(State(), walkQuery, false));
        walkMs.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("\nbuilding the index (ms): min %.2f  median %.2f  max %.2f\n", Percentile(buildMs, 0),
                Percentile(buildMs, 0.5), Percentile(buildMs, 1));
    std::printf("one walk through the table (ms): min %.2f  median %.2f  max %.2f\n", Percentile(walkMs, 0),
                Percentile(walkMs, 0.5), Percentile(walkMs, 1));
    BenchTree::CheckAtMost("index build / table walk, medians", BenchTree::Median(buildMs) / BenchTree::Median(walkMs),
                           BuildOverWalkAtMost);
    std::printf("\n");
    state.counters["words"] = State().WordCount;
}
BENCHMARK(BM_BuildIndex)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace
