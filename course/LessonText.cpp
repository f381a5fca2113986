#include "LessonText.h"

#include "BlankTrim.h"
#include "Module3Rtf.h"
#include "Pinyin.h"
#include "RtfDocument.h"

#include <algorithm>

namespace {

const QString ParagraphEnd = QStringLiteral("\r\n");
// Two empty paragraphs before every heading but the first line.
const QString HeadingGapRtf = QStringLiteral("{\\par\\par}");

// What a rich-text box shows of rtf.
QString PlainText(const QString& rtf)
{
    QString plain;
    for (const RtfPiece& piece : Rtf::Read(rtf).pieces)
        plain += piece.kind == RtfPiece::Text ? piece.text : ParagraphEnd;
    return plain;
}

LessonTextRow Row(QString (*builder)(const QString&), const QString& text)
{
    const QString rtf = builder(text);
    return {rtf, PlainText(rtf)};
}

bool IsHeading(const SentenceRecord& line) { return line.Source == 0; }

} // namespace

QList<LessonTextRow> LessonLineRows(const SentenceRecord& line, int lineNumber, const QString& chinese)
{
    const QString pinyin = QString(12, QLatin1Char(' ')) + NumberedToMarkedPinyin(line.Pinyin) + QLatin1Char(' ');
    QList<LessonTextRow> rows;
    if (IsHeading(line)) {
        if (lineNumber > 1)
            rows.append({HeadingGapRtf, ParagraphEnd + ParagraphEnd});
        rows.append(Row(RtfBlackRoman16Par, pinyin));
        rows.append(Row(RtfBoldRedSong24, QStringLiteral("  ") + chinese));
        rows.append(Row(RtfGreySans12Par, line.English + QLatin1Char(' ')));
    } else {
        rows.append(Row(RtfBlackRoman16Par, pinyin));
        rows.append(Row(RtfBoldBlueSong24Par, QStringLiteral("  ") + chinese + QLatin1Char(' ')));
        rows.append(Row(RtfGreySans10Par, QString(19, QLatin1Char(' ')) + line.English + QLatin1Char(' ')));
    }
    return rows;
}

LessonTextDocument BuildLessonText(const QVector<SentenceRecord>& lines, const QStringList& chinese)
{
    LessonTextDocument doc;
    for (int i = 1; i <= lines.size(); ++i) {
        const QString shown = chinese.value(i - 1);
        const QList<LessonTextRow> rows = LessonLineRows(lines[i - 1], i, shown);
        // The Chinese row is the one before the English row.
        const int chineseRow = int(rows.size()) - 2;
        for (int r = 0; r < rows.size(); ++r) {
            if (r == chineseRow)
                doc.ChineseStarts.append(int(doc.Plain.size() + std::max<qsizetype>(rows[r].Plain.indexOf(shown), 0)));
            doc.Rows.append(rows[r]);
            doc.Plain += rows[r].Plain;
        }
    }
    return doc;
}

LessonTextDocument BuildLessonText(const QVector<SentenceRecord>& lines, bool readAfter)
{
    QStringList chinese;
    for (const SentenceRecord& line : lines)
        chinese.append(readAfter ? StripFullWidthParens(line.Chinese) : line.Chinese);
    return BuildLessonText(lines, chinese);
}

QString StripFullWidthParens(const QString& chinese)
{
    QString out = chinese;
    out.remove(QChar(0xFF08));
    out.remove(QChar(0xFF09));
    return out;
}

QStringList SentenceListItems(const QVector<SentenceRecord>& lines)
{
    QStringList items{QStringLiteral("You can select from here.")};
    for (int i = 1; i <= lines.size(); ++i)
        items.append(QString::number(i) + QStringLiteral(". ") + lines[i - 1].English);
    return items;
}

QString SentenceCounter(int index, int count)
{
    return QString::number(index) + QStringLiteral(" / ") + QString::number(count);
}

SentenceButtons SentenceButtonsAt(int index, int lastIndex)
{
    if (index <= 1)
        return {false, true};
    if (index >= lastIndex)
        return {true, false};
    return {true, true};
}

SentenceProgress::Step SentenceProgress::Tick(qint16 queueCount, qint16 queuePos, float barWidth)
{
    if (m_countSeen != queueCount) {
        if (m_countSeen == 0) {
            m_countSeen = queueCount;
        } else if (!m_started) {
            // Another sound took the syllable queue over.
            m_countSeen = 0;
            return {false, false, 0};
        }
    }
    if (m_started) {
        m_started = false;
        m_countSeen = queueCount;
    }
    if (queueCount <= 0)
        return {false, true, 0};
    const float bar = barWidth * float(queuePos) / float(queueCount);
    if (queuePos == queueCount)
        return {false, true, bar};
    return {true, false, bar};
}
