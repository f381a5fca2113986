// The reading helper with the largest texts it opens, on a real display:
//   bench/on_virtual_display.sh build/bench/reading_bench
// Each benchmark writes a .txt, opens it through the helper's Open button (read, checked
// against what Reading.rtf may hold, set and formatted), then closes the helper (the text is
// saved) and opens it again (the text is loaded). For the open and the load it reports, in
// milliseconds: until the click or the load returns and the box is painted ("shown"), until
// the whole text is laid out behind it ("laid_out"), and the longest the window waited for
// the event loop meanwhile ("longest_turn"); and the save ("save"); medians of the rounds.
// Each round also times the reference of that text ("reference_shown", below), and the open
// and the load are held against it: the goal is a box shown within 2 s. Without a display the
// window is offscreen, which lays out nothing unseen.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <map>
#include <string>
#include <vector>
#include <benchmark/benchmark.h>

#include "AppState.h"
#include "AssistantsForms.h"
#include "BenchTree.h"
#include "FileDialog.h"
#include "Forms.h"
#include "MsgBox.h"
#include "ReadingHelper.h"
#include "RichTextBox.h"
#include "RtfDocument.h"

namespace {

// The goal: the box shown within 2 s, for the largest texts the helper opens, on a machine
// where the reference (below) shows 300,000 short lines in 0.8 s: 2.5 times it. Today the
// helper shows them in 1.4 to 1.5 times their reference (1.4 s). Long paragraphs it shows
// sooner, but Qt shows them sooner still, since it lays out only the first paragraph, while
// the helper reads the whole text, checks that it can be saved and laid out (about 170 ms for
// 4 MB), and sets it: 2 to 3.1 times the reference in 4 paragraphs (0.6 s), 8.5 to 11.7 times
// in 40 (0.2 s). Each bound leaves a third above today's worst.
constexpr double ShortLinesBound = 2.5;
constexpr double FourParagraphsBound = 4;
constexpr double FortyParagraphsBound = 15;

struct Shown {
    double shown{0};
    double laidOut{0};
    double longestTurn{0};
};

RichTextBox* Box(ReadingHelper* helper) { return helper->findChild<RichTextBox*>(QStringLiteral("RichTextBox1")); }

// From the clock's start: the box painted, then the event loop turned until the whole text
// is laid out, with the longest turn.
Shown Follow(ReadingHelper* helper, const QElapsedTimer& clock)
{
    Shown s;
    RichTextBox* box = Box(helper);
    box->viewport()->repaint();
    s.shown = double(clock.nsecsElapsed()) / 1e6;
    QElapsedTimer turn;
    turn.start();
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(0);
    QObject::connect(&ticks, &QTimer::timeout, [&] { longest = std::max(longest, turn.restart()); });
    ticks.start();
    const QTextBlock last = box->document()->lastBlock();
    while (!(last.layout() && last.layout()->lineCount() > 0) && clock.elapsed() < 600000)
        QCoreApplication::processEvents();
    s.laidOut = double(clock.nsecsElapsed()) / 1e6;
    s.longestTurn = double(longest);
    return s;
}

// Short lines: "第1234行", as many as the RTF reader takes back (a run and a paragraph end
// each).
QString ShortLines(int lines)
{
    QStringList text;
    text.reserve(lines);
    for (int line = 0; line < lines; ++line)
        text << QStringLiteral("第%1行").arg(line);
    return text.join(u'\n');
}

// The reference of each text: a bare QTextEdit of the box's size and font, shown on its own,
// given the same text with setPlainText and painted. It stands for what Qt itself takes to show
// that text on this machine: where it takes 0.8 s for 300,000 short lines, the goal of 2 s is
// 2.5 times it.
double PlainBoxShown(const QSize& size, const QFont& font, const QString& text)
{
    QTextEdit edit;
    edit.setFont(font);
    edit.resize(size);
    edit.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    edit.setPlainText(text);
    edit.viewport()->repaint();
    return double(clock.nsecsElapsed()) / 1e6;
}

ReadingHelper* OpenHelper()
{
    auto* helper = Forms::Load<ReadingHelper>();
    helper->Show(Form::Modeless);
    return helper;
}


void OpenSaveLoad(benchmark::State& state, const std::string& name, const QString& text, double bound)
{
    QTemporaryDir dir;
    State().AppPath = dir.path() + QLatin1Char('/');
    QDir(dir.path()).mkpath(QStringLiteral("Record"));
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) {
        BenchTree::Fail("reading_bench cannot write its text");
        state.SkipWithError("cannot write the text");
        return;
    }
    file.close();
    state.counters["kB"] = double(QFileInfo(path).size()) / 1024;
    state.counters["lines"] = double(text.count(u'\n') + 1);
    std::map<std::string, std::vector<double>> figures;
    // A text the helper refuses is told in a box, recorded here, and fails the benchmark.
    MsgBox::Recorder boxes;
    for (auto _ : state) {
        QFile::remove(dir.filePath(QStringLiteral("Record/Reading.rtf")));
        ReadingHelper* helper = OpenHelper();
        QCoreApplication::processEvents();
        FileDialog::Recorder dialog;
        dialog.Answer(path);
        QElapsedTimer clock;
        clock.start();
        helper->findChild<QPushButton*>(QStringLiteral("Command5"))->click();
        const Shown opened = Follow(helper, clock);
        if (Box(helper)->TextLength() == 0) {
            BenchTree::Fail(("reading_bench: the helper did not open " + name).c_str());
            state.SkipWithError("the text was not opened");
            helper->Unload();
            return;
        }
        clock.restart();
        helper->Unload();
        const double save = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        helper = OpenHelper();
        const Shown loaded = Follow(helper, clock);
        state.SetIterationTime(opened.shown / 1000);
        const QSize size = Box(helper)->size();
        const QFont font = Box(helper)->font();
        helper->Unload();
        figures["reference_shown"].push_back(PlainBoxShown(size, font, text));
        figures["open_shown"].push_back(opened.shown);
        figures["open_laid_out"].push_back(opened.laidOut);
        figures["open_longest_turn"].push_back(opened.longestTurn);
        figures["save"].push_back(save);
        figures["load_shown"].push_back(loaded.shown);
        figures["load_laid_out"].push_back(loaded.laidOut);
        figures["load_longest_turn"].push_back(loaded.longestTurn);
    }
    for (const auto& [name, values] : figures)
        state.counters[name] = BenchTree::Median(values);
    for (const char* shown : {"open_shown", "load_shown"})
        BenchTree::CheckAtMost((name + ": " + shown + " / reference_shown, medians").c_str(),
            BenchTree::Median(figures[shown]) / BenchTree::Median(figures["reference_shown"]), bound);
}

void Register()
{
    if (!Forms::HasFactory(QStringLiteral("ReadingHelper")))
        RegisterAssistantsForms();
}

// Short lines, as many as the RTF reader takes back, or as many as given.
void BM_ShortLines(benchmark::State& state)
{
    Register();
    const int lines = state.range(0) > 0 ? int(state.range(0)) : int(Rtf::MaxPieces / 2);
    OpenSaveLoad(state, std::to_string(lines) + " short lines", ShortLines(lines), ShortLinesBound);
}
BENCHMARK(BM_ShortLines)->Arg(262144)->Arg(0)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// A few long paragraphs of Chinese filling the bound of a .txt (a quarter of what Reading.rtf
// may hold; three bytes a character in UTF-8).
void BM_LongParagraphs(benchmark::State& state)
{
    Register();
    const int paragraphs = int(state.range(0));
    const qint64 characters = RichTextBox::MaxFileBytes / 4 / 3 / paragraphs - 1;
    const QString sentence = QStringLiteral("我们今天学习第一课，我们说汉语。");
    QString paragraph;
    while (paragraph.size() < characters)
        paragraph += sentence;
    paragraph.truncate(qsizetype(characters));
    OpenSaveLoad(state, std::to_string(paragraphs) + " long paragraphs", QStringList(paragraphs, paragraph).join(u'\n'),
        paragraphs <= 4 ? FourParagraphsBound : FortyParagraphsBound);
}
BENCHMARK(BM_LongParagraphs)->Arg(4)->Arg(40)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
