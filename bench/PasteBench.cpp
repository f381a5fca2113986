// A paste of 50 million characters into each kind of box the windows build, on a real display:
//   bench/on_virtual_display.sh build/bench/paste_bench
// A box takes what it can hold of such an offer (a line box its first line within 32,767
// characters, the multi-line box 32,767 characters, the rich-text box nothing: its files hold
// 16 MB) and the window answers again at once. Each round times Ctrl+V and the repaint of the
// box, beside the reference of reading the offer once (its text encoded as UTF-8). Bound: the
// paste at most PasteBound times the reference (medians). Without a display the boxes are
// offscreen, which paints nothing.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

#include "BenchTree.h"
#include "ComboBox.h"
#include "ControlKit.h"
#include "RichTextBox.h"
#include "TextBoxes.h"

namespace {

// Today 0.01 to 1.5 (the most for the multi-line box, which lays out the 32,767 characters it
// took as one paragraph); a rich-text box that measured such a text before it refused it took
// 300 to 800 times, and a multi-line box that took it all never answered again.
constexpr double PasteBound = 5;

const QString& Offered(bool lines)
{
    static const QString oneLine(50'000'000, QLatin1Char('a'));
    static const QString inLines = (QString(49, QLatin1Char('a')) + QLatin1Char('\n')).repeated(1'000'000);
    return lines ? inLines : oneLine;
}

struct Kind {
    const char* name;
    std::function<QWidget*(QWidget*)> make; // the box, whose keys it returns
    std::function<void(QWidget*)> clear;
};

const Kind Kinds[] = {
    {"text box", [](QWidget* w) { return Kit::TextBox(w, QStringLiteral("Text1"), {0, 0, 6000, 400}); },
        [](QWidget* keys) { static_cast<QLineEdit*>(keys)->clear(); }},
    {"combo box", [](QWidget* w) { return (new ComboBox(w))->lineEdit(); },
        [](QWidget* keys) { static_cast<QLineEdit*>(keys)->clear(); }},
    {"multi-line box", [](QWidget* w) { return new PlainTextBox(w); },
        [](QWidget* keys) { static_cast<PlainTextBox*>(keys)->clear(); }},
    {"rich-text box", [](QWidget* w) { return new RichTextBox(w); },
        [](QWidget* keys) { static_cast<RichTextBox*>(keys)->SetText(QString()); }},
};

void PasteFiftyMegabytes(benchmark::State& state)
{
    const Kind& kind = Kinds[state.range(0)];
    const bool lines = state.range(1) != 0;
    QWidget window;
    window.resize(640, 300);
    QWidget* keys = kind.make(&window);
    keys->resize(600, 260);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        BenchTree::Fail("the window was never shown");
    auto* offer = new QMimeData;
    offer->setText(Offered(lines));
    QApplication::clipboard()->setMimeData(offer);
    std::vector<double> pasteMs;
    std::vector<double> referenceMs;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        benchmark::DoNotOptimize(Offered(lines).toUtf8().size());
        referenceMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        kind.clear(keys);
        keys->setFocus();
        QCoreApplication::processEvents();
        clock.start();
        QTest::keyClick(keys, Qt::Key_V, Qt::ControlModifier);
        keys->repaint();
        pasteMs.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    QApplication::clipboard()->clear();
    const double m = BenchTree::Median(pasteMs);
    const double r = BenchTree::Median(referenceMs);
    state.counters["paste_ms"] = m;
    state.counters["reference_ms"] = r;
    const std::string ratio = std::string("50 MB ") + (lines ? "in lines" : "in one line") + " into the " + kind.name
        + ": paste / reading the offer, medians";
    BenchTree::CheckAtMost(ratio.c_str(), r > 0 ? m / r : 0, PasteBound);
}
BENCHMARK(PasteFiftyMegabytes)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
