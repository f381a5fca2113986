#include "SentenceSearch.h"

#include "BlankTrim.h"
#include "TextFilters.h"

namespace Sentences {

namespace {

const QString FullWidthMarks = QStringLiteral("，。；：“”！？、…（）‘’【】《》—·");

struct Topic {
    const char16_t* Chinese;
    const char* English;
};
constexpr Topic Topics[] = {{u"问候", "Greeting"}, {u"介绍", "Introduction"}, {u"机场", "Airport"},
    {u"海关", "Customs"}, {u"出租车", "Taxi"}, {u"旅馆", "Hotel"}, {u"餐馆", "Restaurant"}, {u"公共汽车", "Bus"},
    {u"问路", "Direction"}, {u"购物", "Shopping"}, {u"电话", "Telephone"}, {u"公寓", "Apartment"},
    {u"银行", "Bank"}, {u"理发店", "Barber's"}, {u"书店", "Bookstore"}, {u"预订", "Reservation"},
    {u"医院", "Hospital"}, {u"火车", "Train"}, {u"图书馆", "Library"}, {u"邮局", "Post Office"}};

bool KeywordHolds(const SentenceRecord& r, const QString& w, bool english)
{
    if (!english)
        return r.Chinese.contains(w);
    return r.English.contains(u' ' + w, Qt::CaseInsensitive) || r.English.contains(w + u' ', Qt::CaseInsensitive);
}

} // namespace

QStringList TopicCaptions()
{
    QStringList items{QStringLiteral("You can select a category.")};
    int n = 0;
    for (const Topic& t : Topics) {
        const QString chinese = QString::fromUtf16(t.Chinese);
        // The English names line up: 12 blanks after two characters, 8 after three, 2 after four.
        const int blanks = chinese.size() == 2 ? 12 : chinese.size() == 3 ? 8 : 2;
        items << QStringLiteral("%1) ").arg(++n, 2, 10, QLatin1Char('0')) + chinese + QString(blanks, u' ')
                + QLatin1String(t.English);
    }
    return items;
}

CaptionParts SplitCaption(const QString& caption)
{
    const qsizetype run = caption.indexOf(QStringLiteral("  "));
    if (run < 0)
        return {caption, QString()};
    return {caption.left(run), BlankTrim(caption.mid(run))};
}

QVector<int> TopicRows(const QVector<SentenceRecord>& table, int first, int last, int item)
{
    QVector<int> rows;
    if (last == 0)
        return rows;
    for (int k = std::max(first, 1); k <= last && k <= table.size(); ++k) {
        if (table[k - 1].Source - 91 == item)
            rows << k;
        else if (!rows.isEmpty())
            break;
    }
    return rows;
}

QString StripKeywordPunctuation(const QString& text)
{
    QString out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 33 && u <= 64) || (u >= 91 && u <= 93) || (u >= 123 && u <= 125) || FullWidthMarks.contains(c))
            continue;
        out += c;
    }
    return out;
}

QStringList SplitKeywords(const QString& text)
{
    QStringList words{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u' ') {
            if (i + 1 < text.size())
                words << QString();
            continue;
        }
        words.last() += text[i];
    }
    return words;
}

QString KeywordLengthMessage(const QString& text, const QStringList& keywords)
{
    if (keywords.size() != 1 || text.isEmpty())
        return QString();
    const bool latin = text[0].unicode() <= 255;
    if (latin && text.size() < 3)
        return QStringLiteral("The length of all English keywords must be more than two.");
    if (!latin && text.size() < 2)
        return QStringLiteral("The length of all Chinese keywords must be more than one.");
    return QString();
}

bool IsEnglishSearch(const QString& text)
{
    if (text.isEmpty())
        return false;
    const char16_t u = text[0].unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

QList<Hit> Search(const QVector<SentenceRecord>& table, int count, const QString& text,
    const std::function<void(int)>& progress)
{
    QList<Hit> hits;
    const QStringList keywords = SplitKeywords(text);
    const bool english = IsEnglishSearch(text);
    const int last = std::min<int>(count, table.size());
    for (int k = 1; k <= last; ++k) {
        const SentenceRecord& r = table[k - 1];
        if (!r.English.contains(QStringLiteral("<<<"))) {
            bool all = true;
            for (const QString& w : keywords)
                if (!KeywordHolds(r, w, english)) {
                    all = false;
                    break;
                }
            if (all)
                hits.append({k, english ? r.English : r.Chinese});
        }
        if (progress)
            progress(k);
    }
    return hits;
}

int SyllableIndexAt(const QString& chinese, int p)
{
    if (p <= 0)
        return 0;
    return int(StripPunctuation(chinese.left(p)).size());
}

bool AddSearchHistory(QStringList& history, const QString& text)
{
    if (history.contains(text, Qt::CaseSensitive))
        return false;
    history << text;
    return true;
}

QString AskUsProblem(const QString& tutorMailbox, const QString& userName, const QString& text)
{
    if (tutorMailbox.isEmpty())
        return QStringLiteral("Please fill in your tutor's email address on Setting panel.");
    if (userName.isEmpty())
        return QStringLiteral("Please fill in your name on Setting panel.");
    if (BlankTrim(text).isEmpty() || text.contains(AskPrompt, Qt::CaseInsensitive))
        return QStringLiteral("Please write out your sentences in the text box above.");
    return QString();
}

QString AskUsSubject(const QString& userName) { return userName + QStringLiteral(": How to speak this sentence in Chinese?"); }

} // namespace Sentences
