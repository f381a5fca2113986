// The character pop-up: from a one-character selection to the pop-up laid out with its readings,
// its reading chosen from the neighbours and its stroke file read, on the course tables and the
// stroke files of the data tree (build/Velmora, or VELMORA_TREE):
//   build/bench/zoom_bench
// A look-up should take well under one frame (16 ms). BM_PopUpWindow does the same through the
// window itself (labels created, sound started, window placed and shown), beside
// BM_ShowEmptyWindow, which only shows and hides an empty window of the same size.

#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <benchmark/benchmark.h>

#include "AppState.h"
#include "BenchTree.h"
#include "Form.h"
#include "Forms.h"
#include "LoadingSteps.h"
#include "StrokeFile.h"
#include "TextFilters.h"
#include "Zoom.h"
#include "ZoomRules.h"

namespace {

QString Tree() { return BenchTree::Path(); }

using BenchTree::NoProgress;

void LoadTables()
{
    if (State().CharacterCount > 0)
        return;
    ResetState();
    State().AppPath = Tree();
    NoProgress progress;
    LoadCourseTables(progress);
}

struct Selection {
    QString ch, prev, next;
};

// Everything ChaZhao computes before it touches a control.
double LookUp(const Selection& s, const QFont& font)
{
    if (HasNonHanzi(s.ch))
        return 0;
    const PopupContent content = LookUpCharacter(s.ch, s.prev, s.next);
    const QSizeF character = QFontMetricsF(font).size(0, s.ch);
    const PopupLayout layout = LayOutPopup(int(content.Labels.size()), character.width() * 15, character.height() * 15);
    const QString path = StrokeFilePath(State().AppPath, s.ch);
    const bool hasStrokes = !path.isEmpty() && QFileInfo::exists(path);
    StrokeAnimation animation;
    if (hasStrokes)
        animation.Load(LoadStrokeFile(path));
    const double width = PopupWidth(character.width() * 15, hasStrokes);
    const QPointF place = PlacePopup({1000, 200, 300, 9000, 400, 1000, 260}, float(width), float(layout.Height),
                                     {19200, 14400, 600});
    return place.x() + animation.PointCount() + content.Choice.Spoken;
}

// 好 between 你 and 人 (several readings, decided by the vocabulary), 我 (one reading), 了
// (undecided), and a character without a record.
void BM_SelectionToPopupLayout(benchmark::State& state)
{
    LoadTables();
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(72);
    const Selection selections[] = {
        {QStringLiteral("好"), QStringLiteral("你"), QStringLiteral("人")},
        {QStringLiteral("我"), QString(), QStringLiteral("们")},
        {QStringLiteral("了"), QStringLiteral("走"), QString()},
        {QStringLiteral("\u4DBF"), QString(), QString()},
    };
    const Selection& s = selections[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(LookUp(s, font));
    state.counters["words"] = State().WordCount;
    state.counters["characters"] = State().CharacterCount;
}
BENCHMARK(BM_SelectionToPopupLayout)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

Zoom* LoadedZoom()
{
    qputenv("VELMORA_SILENT_SOUND", "1");
    LoadTables();
    if (!Forms::HasFactory(QStringLiteral("Zoom")))
        Forms::RegisterFactory<Zoom>();
    return Forms::Load<Zoom>();
}

// 好 between 你 and 人 through Zoom.ChaZhao, shown, then hidden outside the timing.
void BM_PopUpWindow(benchmark::State& state)
{
    Zoom* zoom = LoadedZoom();
    for (auto _ : state) {
        zoom->ChaZhao(QStringLiteral("好"), QStringLiteral("你"), QStringLiteral("人"), 1000, 200, 300, 2000, 400,
                      100, 260);
        QCoreApplication::processEvents();
        state.PauseTiming();
        zoom->Hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["width_px"] = zoom->width();
    state.counters["height_px"] = zoom->height();
}
BENCHMARK(BM_PopUpWindow)->Unit(benchmark::kMicrosecond);

// An empty frameless window of the pop-up's size, shown and hidden the same way.
void BM_ShowEmptyWindow(benchmark::State& state)
{
    Zoom* zoom = LoadedZoom();
    zoom->ChaZhao(QStringLiteral("好"), QStringLiteral("你"), QStringLiteral("人"), 1000, 200, 300, 2000, 400, 100,
                  260);
    const QSize size = zoom->size();
    zoom->Hide();
    Form empty(QStringLiteral("Empty"));
    empty.SetBorderless(true);
    empty.setWindowFlag(Qt::Tool, true);
    empty.resize(size);
    for (auto _ : state) {
        empty.move(100, 100);
        empty.show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        empty.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["width_px"] = empty.width();
    state.counters["height_px"] = empty.height();
}
BENCHMARK(BM_ShowEmptyWindow)->Unit(benchmark::kMicrosecond);

} // namespace
