#pragma once
// Sample result pages in the shapes the page reader expects of the web dictionary service,
// and a view that shows results in a real rich-text box.

#include <QString>
#include <QStringList>

#include "OnlineLookup.h"
#include "RichTextBox.h"

namespace Pages {

// Decimal numeric character entities of text ("hàn" -> "&#104;&#224;&#110;").
inline QString Entities(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += QStringLiteral("&#%1;").arg(c.unicode());
    return out;
}

// The example block: lines separated by "<br>", the second of each pair indented by two hard
// blanks as the service writes them.
inline QString Examples(const QStringList& lines)
{
    if (lines.isEmpty())
        return QString();
    QString out = QStringLiteral("<div class=ex><b>Examples:</b><table><tr><td>\n");
    for (qsizetype i = 0; i < lines.size(); ++i)
        out += (i % 2 ? QStringLiteral("&nbsp;&nbsp;") : QString()) + lines.at(i) + QStringLiteral("<br>\n");
    return out + QStringLiteral("</td></tr></table></div>");
}

inline QString Footer()
{
    return QStringLiteral("<p class=foot><a href=\"/\">Lexicon Online</a> example pages</p>");
}

// A Chinese word: its pronunciation as entities, meanings separated by "<br>", examples.
inline QString Chinese(const QString& word, const QString& pinyin, const QStringList& meanings,
                       const QStringList& examples = {})
{
    return QStringLiteral("<div class=head><h1>") + word + QStringLiteral("</h1><span class=py id=pronounce>[ ")
        + Entities(pinyin) + QStringLiteral(" ]</span></div>\n<div class=mean><big>") + meanings.join(QStringLiteral("<BR>"))
        + QStringLiteral("</big></div>\n") + Examples(examples) + Footer();
}

// An English word: each meaning followed by a line-break tag inside the span.
inline QString English(const QString& word, const QStringList& meanings, const QStringList& examples = {})
{
    QString span;
    for (const QString& m : meanings)
        span += m + QStringLiteral("<br>");
    return QStringLiteral("<h1>") + word + QStringLiteral("</h1><div class=mean><big>") + span
        + QStringLiteral("</big></div>\n") + Examples(examples) + Footer();
}

// A pinyin query's word list: one table row per linked word, then the page's own footer link.
inline QString WordList(const QStringList& words)
{
    QString out = QStringLiteral("<h2>Result of Pin1 Yin1 search:</h2><table>\n");
    for (const QString& w : words)
        out += QStringLiteral("<tr><td><a href=\"/en/search/?q=") + w + QStringLiteral("\">") + w
            + QStringLiteral("</a></td><td>xx xx</td></tr>");
    return out + QStringLiteral("</table>\n") + Footer();
}

inline QString NotFound() { return QStringLiteral("<p>Sorry, word not found!</p>") + Footer(); }
inline QString Suggestions() { return QStringLiteral("<p>Are you looking for:</p><ul><li>hello</li></ul>") + Footer(); }

// A whole page around a body.
inline QString Html(const QString& body)
{
    return QStringLiteral("<html><head><title>result</title></head><body>") + body + QStringLiteral("</body></html>");
}

} // namespace Pages

// The plain text a rich-text box shows for an RTF document.
inline QString ShownText(const QString& rtf)
{
    RichTextBox box;
    box.SetTextRTF(rtf);
    return box.Text();
}
