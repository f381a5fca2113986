#include "ToneLabel.h"

#include "WindowHook.h"

namespace {

WindowHook<ToneLabelView>& View()
{
    static WindowHook<ToneLabelView> view;
    return view;
}

bool IsPathSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

} // namespace

void RegisterToneLabelView(ToneLabelView* view) { View().Set(view); }

void UnregisterToneLabelView(ToneLabelView* view) { View().Clear(view); }

void ShowToneLabel(const QString& tone, const QString& syllable)
{
    ToneLabelView* view = View().Get();
    if (!view)
        return;
    QString ending;
    if (tone == QLatin1String("0"))
        ending = QStringLiteral(" ] light tone");
    else if (tone == QLatin1String("1"))
        ending = QStringLiteral(" ] the 1st tone");
    else if (tone == QLatin1String("2"))
        ending = QStringLiteral(" ] the 2nd tone");
    else if (tone == QLatin1String("3"))
        ending = QStringLiteral(" ] the 3rd tone");
    else
        ending = QStringLiteral(" ] the 4th tone");
    view->ShowToneText(QStringLiteral("[ ") + syllable + ending);
}

QString BaseFileName(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    qsizetype start = dot;
    while (start > 0 && !IsPathSeparator(path.at(start - 1)))
        --start;
    return path.mid(start, dot - start);
}
