// The texts that cost Qt's layout far more than their length says, given to the reading
// helper's own box on a real display, each round beside plain Latin words of the same length in
// the same paragraphs:
//   bench/on_virtual_display.sh build/bench/layout_bench
// Each text is set whole as RTF (as Record/Reading.rtf loads, or a paste), then Ctrl+End lays
// the rest out at once. For each text it prints the medians in milliseconds of the text and of
// its Latin reference ("shown": set and painted; "end": Ctrl+End), what the estimate put each
// at, and either why the box refused the text or how its time compares with the estimate.
//
// The box promises that no text it takes costs more than about 2 s to show, nor to lay out
// whole, on a typical desktop: its estimate counts the work in microseconds of one, where plain
// Latin words take about one a character. The Latin reference gives this machine's speed in that
// unit, so a text's time reads as work: a text the box takes must not be more work than its
// estimate by half (bound: measured work at most 1.5 times the estimate, medians), which keeps
// it within the promise; a text it refuses must be refused with a reason told to the learner,
// in no more time than reading its RTF and showing and laying out the Latin text of its length
// take (bound: at most 1 times them; a text of characters written as \uN escapes is several
// times as much RTF as Latin).

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <functional>
#include <memory>
#include <map>
#include <string>
#include <vector>
#include <benchmark/benchmark.h>

#include "AppState.h"
#include "AssistantsForms.h"
#include "BenchTree.h"
#include "Forms.h"
#include "MsgBox.h"
#include "LayoutEstimate.h"
#include "ReadingHelper.h"
#include "RichTextBox.h"
#include "RtfDocument.h"

namespace {

// A work the estimate may be short of by this much on a kind of text.
constexpr double EstimateBound = 1.5;
// A refusal costs at most this share of the Latin text's showing and laying out.
constexpr double RefusalBound = 1;

RtfCharFormat Sans24(bool bold = false)
{
    RtfCharFormat f;
    f.fontName = QStringLiteral("Microsoft Sans Serif");
    f.fontCharset = 0;
    f.pointSize = 24;
    f.bold = bold;
    return f;
}

QString Repeated(const QString& unit, qsizetype characters)
{
    QString text;
    text.reserve(characters + unit.size());
    while (text.size() < characters)
        text += unit;
    text.truncate(characters);
    return text;
}

// Paragraphs of one run each.
QVector<RtfPiece> Paragraphs(int count, const QString& text)
{
    QVector<RtfPiece> pieces;
    for (int p = 0; p < count; ++p) {
        if (p > 0)
            pieces.push_back({RtfPiece::ParagraphEnd, {}, Sans24(), RtfAlignment::Left});
        pieces.push_back({RtfPiece::Text, text, Sans24(), RtfAlignment::Left});
    }
    return pieces;
}

// Paragraphs of runs alternating bold and not.
QVector<RtfPiece> AlternatingRuns(int paragraphs, int runsEach)
{
    QVector<RtfPiece> pieces;
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            pieces.push_back({RtfPiece::ParagraphEnd, {}, Sans24(), RtfAlignment::Left});
        for (int r = 0; r < runsEach; ++r)
            pieces.push_back({RtfPiece::Text, QStringLiteral("ab "), Sans24(r % 2 == 1), RtfAlignment::Left});
    }
    return pieces;
}

// Plain Latin words in as many paragraphs, as long as the text.
QVector<RtfPiece> LatinLike(const QVector<RtfPiece>& pieces)
{
    qsizetype characters = 0;
    int paragraphs = 1;
    for (const RtfPiece& p : pieces) {
        if (p.kind == RtfPiece::Text)
            characters += p.text.size();
        else
            ++paragraphs;
    }
    return Paragraphs(paragraphs, Repeated(QStringLiteral("abcd efgh ijk lmnopq rs "), characters / paragraphs));
}

struct Kind {
    const char* name;
    std::function<QVector<RtfPiece>()> pieces;
};

const QString Hebrew = QStringLiteral("\u05D0");

// The texts of the kinds that cost the layout most, at the sizes that were found to hold the
// window and at sizes of the same kinds near the bounds.
const Kind Kinds[] = {
    {"word of 64,000 letters alternating Latin and Hebrew", [] { return Paragraphs(1, Repeated(u'a' + Hebrew, 64000)); }},
    {"word of 8,000 letters alternating Latin and Hebrew", [] { return Paragraphs(1, Repeated(u'a' + Hebrew, 8000)); }},
    {"word of 32,000 digits and Hebrew letters", [] { return Paragraphs(1, Repeated(u'1' + Hebrew, 32000)); }},
    {"Latin word of 64,000 letters", [] { return Paragraphs(1, QString(64000, u'a')); }},
    {"Latin and Hebrew words by turns, 256,000 characters",
        [] { return Paragraphs(1, Repeated(QStringLiteral("ab ") + Hebrew + Hebrew + u' ', 256000)); }},
    {"Chinese with a Latin letter after every two characters, 256,000 characters",
        [] { return Paragraphs(1, Repeated(QStringLiteral("我们a今天b学习c"), 256000)); }},
    {"letter under 200,000 combining marks", [] { return Paragraphs(1, u'a' + QString(199999, QChar(0x301))); }},
    {"letter under 1,000,000 combining marks", [] { return Paragraphs(1, u'a' + QString(999999, QChar(0x301))); }},
    {"letters under 999 combining marks each, 32,000 characters",
        [] { return Paragraphs(1, Repeated(u'a' + QString(999, QChar(0x301)), 32000)); }},
    {"590,000 runs of alternating bold in one paragraph", [] { return AlternatingRuns(1, 590000); }},
    {"10 runs of alternating bold in each of 30,000 paragraphs", [] { return AlternatingRuns(30000, 10); }},
    {"10 runs of alternating bold in each of 50,000 paragraphs", [] { return AlternatingRuns(50000, 10); }},
    {"80 paragraphs, each a word of 50,000 letters", [] { return Paragraphs(80, QString(50000, u'b')); }},
    {"80 paragraphs, each a word of 5,000 letters", [] { return Paragraphs(80, QString(5000, u'b')); }},
    {"2,000 lines of a letter and 1,021 characters no font draws",
        [] { return Paragraphs(2000, u'a' + QString(1021, QChar(0xE000))); }},
    {"500 lines of a letter and 1,021 characters no font draws",
        [] { return Paragraphs(500, u'a' + QString(1021, QChar(0xE000))); }},
};

struct Timed {
    bool taken{false};
    double shown{0};
    double end{0};
    QString refusal;
};

// The box emptied, then given the text whole, painted, and laid out to its end as Ctrl+End does.
Timed SetAndLayOut(RichTextBox* box, const QString& rtf)
{
    box->SetText(QString());
    box->viewport()->repaint();
    QCoreApplication::processEvents();
    Timed t;
    QElapsedTimer clock;
    clock.start();
    t.taken = box->SetTextRTF(rtf);
    box->viewport()->repaint();
    t.shown = double(clock.nsecsElapsed()) / 1e6;
    if (!t.taken) {
        t.refusal = box->Refusal();
        return t;
    }
    clock.restart();
    box->moveCursor(QTextCursor::End);
    box->ensureCursorVisible();
    box->viewport()->repaint();
    t.end = double(clock.nsecsElapsed()) / 1e6;
    return t;
}

// The estimate's work for the box: showing the costliest paragraph and laying the whole out.
struct Estimated {
    double paragraph;
    double whole;
};
Estimated Estimate(const RichTextBox* box, const QVector<RtfPiece>& pieces)
{
    const std::unique_ptr<LayoutEstimate> estimate = box->Estimate(pieces);
    return {estimate->LongestParagraphWork(), estimate->TextWork()};
}

void BM_CostlyText(benchmark::State& state)
{
    const Kind& kind = Kinds[state.range(0)];
    state.SetLabel(kind.name);
    QTemporaryDir dir;
    State().AppPath = dir.path() + QLatin1Char('/');
    QDir(dir.path()).mkpath(QStringLiteral("Record"));
    if (!Forms::HasFactory(QStringLiteral("ReadingHelper")))
        RegisterAssistantsForms();
    auto* helper = Forms::Load<ReadingHelper>();
    helper->Show(Form::Modeless);
    QCoreApplication::processEvents();
    auto* box = helper->findChild<RichTextBox*>(QStringLiteral("RichTextBox1"));

    const QVector<RtfPiece> pieces = kind.pieces();
    const QVector<RtfPiece> latin = LatinLike(pieces);
    const QString rtf = Rtf::Write(pieces, box->font().family(), box->font().pointSizeF());
    const QString latinRtf = Rtf::Write(latin, box->font().family(), box->font().pointSizeF());
    const Estimated estimated = Estimate(box, pieces);
    const Estimated latinEstimated = Estimate(box, latin);

    // The helper tells the learner why a text was refused: recorded here, not shown.
    MsgBox::Recorder boxes;
    std::map<std::string, std::vector<double>> figures;
    QString refusal;
    bool taken = false;
    bool latinTaken = true;
    const QByteArray rtfBytes = rtf.toLatin1();
    for (auto _ : state) {
        const Timed reference = SetAndLayOut(box, latinRtf);
        const Timed measured = SetAndLayOut(box, rtf);
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(Rtf::Read(rtfBytes));
        figures["read"].push_back(double(clock.nsecsElapsed()) / 1e6);
        latinTaken = latinTaken && reference.taken;
        taken = measured.taken;
        refusal = measured.refusal;
        figures["latin_shown"].push_back(reference.shown);
        figures["latin_end"].push_back(reference.end);
        figures["shown"].push_back(measured.shown);
        figures["end"].push_back(measured.end);
        state.SetIterationTime((measured.shown + measured.end) / 1000);
    }
    box->SetText(QString());
    QCoreApplication::processEvents();
    helper->Unload();

    for (const auto& [name, values] : figures)
        state.counters[name] = BenchTree::Median(values);
    state.counters["estimated_paragraph_s"] = estimated.paragraph / 1e6;
    state.counters["estimated_whole_s"] = estimated.whole / 1e6;
    const std::string name = kind.name;
    if (!latinTaken) {
        BenchTree::Fail(("layout_bench: the box refused the Latin reference of the " + name).c_str());
        return;
    }
    const double latinMs = BenchTree::Median(figures["latin_shown"]) + BenchTree::Median(figures["latin_end"]);
    const double ms = BenchTree::Median(figures["shown"]) + BenchTree::Median(figures["end"]);
    if (!taken) {
        std::printf("%s: refused, %s\n", name.c_str(), qPrintable(refusal));
        if (refusal.isEmpty() || boxes.Boxes().size() != int(state.iterations()))
            BenchTree::Fail(("layout_bench: the helper did not say why it refused the " + name).c_str());
        BenchTree::CheckAtMost((name + ": refusal / (its RTF read + Latin text shown and laid out), medians").c_str(),
            ms / (BenchTree::Median(figures["read"]) + latinMs), RefusalBound);
        return;
    }
    // The Latin text's time is its estimated work on this machine: the text's time in that unit.
    const double unit = latinMs / (latinEstimated.paragraph + latinEstimated.whole);
    const double work = ms / unit;
    state.counters["measured_work_s"] = work / 1e6;
    std::printf("%s: taken, about %.2f s of work where the estimate put %.2f s (a paragraph) and %.2f s (the whole)\n",
        name.c_str(), work / 1e6, estimated.paragraph / 1e6, estimated.whole / 1e6);
    BenchTree::CheckAtMost((name + ": measured work / estimated, medians").c_str(),
        work / (estimated.paragraph + estimated.whole), EstimateBound);
}
BENCHMARK(BM_CostlyText)
    ->DenseRange(0, std::size(Kinds) - 1)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
