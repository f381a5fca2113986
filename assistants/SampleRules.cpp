#include "SampleRules.h"

#include <QFileInfo>

#include "CodePage.h"

QStringList SampleListItems()
{
    QStringList items{QStringLiteral("Select")};
    const QString& all = SampleCharacters();
    items.reserve(int(all.size()) + 1);
    for (qsizetype k = 0; k < all.size(); ++k)
        items.append(QString::number(k + 1) + QStringLiteral(" - ") + all.at(k));
    return items;
}

QString SampleCharacterOf(const QString& item) { return item.right(1); }

SampleButtons SampleButtonsAt(int listIndex, int listCount)
{
    if (listIndex < 2)
        return {false, true};
    if (listIndex >= listCount - 1)
        return {true, false};
    return {true, true};
}

SampleStrokes ReadSampleStrokes(const QString& appPath, QChar ch)
{
    SampleStrokes strokes;
    qint16 code = CodePage::AnsiCode(ch);
    strokes.Number = CodeToFileNumber(code);
    // A character the file-number rule cannot name has no file of its own.
    const QString name = StrokeFileName(ch);
    const QString path = name.isEmpty() ? QString() : appPath + name;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        strokes.Result = SampleStrokes::Missing;
        return strokes;
    }
    strokes.Data = LoadStrokeFile(path, NonFiniteRecords::Skip);
    strokes.Result = strokes.Data.Points.isEmpty() ? SampleStrokes::Empty : SampleStrokes::Loaded;
    return strokes;
}

QString StrokeCounterText(int currentStroke, int strokeCount)
{
    return QString::number(currentStroke) + QStringLiteral(" / ") + QString::number(strokeCount);
}

QPointF SampleDotPosition(StrokePoint point, double pixelHeight)
{
    return {double(point.X), double(point.Y) + 40 * pixelHeight};
}
