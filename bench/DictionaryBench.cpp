// The local dictionary's query against the whole course vocabulary: the index the dictionary
// uses beside the plain walk through the table that defines the answers.
//
// Runs over the data tree the build lays out (build/Velmora, or VELMORA_TREE):
//   build/bench/dictionary_bench
// Each query kind has its own pair (Chinese, English, pinyin, lesson number, a miss);
// BM_DictionarySearch is the whole search as the window runs it, hit rows included.

#include <benchmark/benchmark.h>

#include "AppState.h"
#include "BenchTree.h"
#include "DictionaryRules.h"
#include "LoadingSteps.h"
#include "VocabularySearch.h"

namespace {

QString Tree() { return BenchTree::Path(); }

using BenchTree::NoProgress;

// The vocabulary of the data tree, loaded once.
bool LoadVocabulary()
{
    static const bool loaded = [] {
        ResetState();
        State().AppPath = Tree();
        NoProgress progress;
        LoadWordTable(progress);
        return State().WordCount > 0;
    }();
    return loaded;
}

struct Query {
    const char* name;
    const char16_t* word;
    bool exact;
};
const Query Queries[] = {
    {"chinese 好", u"好", false},
    {"chinese 学生", u"学生", false},
    {"exact 学生", u"学生", true},
    {"english go", u"go", false},
    {"english a", u"a", false},
    {"english to study", u"to study", false},
    {"pinyin hao3", u"hao3", false},
    {"pinyin xue2 sheng0", u"xue2 sheng0", false},
    {"lesson 45", u"45", false},
    {"miss", u"zzzz", false},
};

template <bool Indexed>
void Search(benchmark::State& state)
{
    if (!LoadVocabulary()) {
        state.SkipWithError("no vocabulary in the data tree");
        return;
    }
    const Query& q = Queries[state.range(0)];
    state.SetLabel(q.name);
    const VocabularyQuery query = ClassifyQuery(QString::fromUtf16(q.word));
    VocabularyIndex index;
    index.Build(State());
    qsizetype hits = 0;
    for (auto _ : state) {
        const QVector<int> found = Indexed ? index.Search(State(), query, q.exact) : SearchVocabularyLinear(State(), query, q.exact);
        hits = found.size();
        benchmark::DoNotOptimize(found.constData());
    }
    state.counters["hits"] = double(hits);
    state.counters["words"] = State().WordCount;
}

void BM_QueryIndexed(benchmark::State& state)
{
    Search<true>(state);
}
BENCHMARK(BM_QueryIndexed)->DenseRange(0, std::size(Queries) - 1)->Unit(benchmark::kMicrosecond);

void BM_QueryLinear(benchmark::State& state)
{
    Search<false>(state);
}
BENCHMARK(BM_QueryLinear)->DenseRange(0, std::size(Queries) - 1)->Unit(benchmark::kMicrosecond);

// Building the index, which the dictionary window does once when it loads.
void BM_BuildIndex(benchmark::State& state)
{
    if (!LoadVocabulary()) {
        state.SkipWithError("no vocabulary in the data tree");
        return;
    }
    for (auto _ : state) {
        VocabularyIndex index;
        index.Build(State());
        benchmark::DoNotOptimize(&index);
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

// The search as Dictionary.Common01 runs it, the hit rows included (a new word each time, so
// the repeat suppression never cuts it short).
void BM_DictionarySearch(benchmark::State& state)
{
    if (!LoadVocabulary()) {
        state.SkipWithError("no vocabulary in the data tree");
        return;
    }
    const Query& q = Queries[state.range(0)];
    state.SetLabel(q.name);
    DictionaryRules rules;
    rules.PrepareSearch();
    for (auto _ : state) {
        rules.LastSearchWord.clear();
        QString word = QString::fromUtf16(q.word);
        benchmark::DoNotOptimize(rules.Search(word, q.exact).Rows.constData());
    }
}
BENCHMARK(BM_DictionarySearch)->DenseRange(0, std::size(Queries) - 1)->Unit(benchmark::kMicrosecond);

} // namespace
