#include "ReadAfter.h"

#include "Pinyin.h"
#include "TextFilters.h"

namespace {

struct Candidate {
    QString text;
    int entry;
};

QList<Candidate> CandidatesOf(const QStringList& entries, const QString& current)
{
    QList<Candidate> list;
    for (int i = 0; i < entries.size(); ++i) {
        for (const QString& c : ReadAfterCandidates(entries.at(i), current))
            list.append({c, i + 1});
    }
    return list;
}

// text over c's length at readPos (1-based), when c fits there.
bool MatchesAt(const QString& text, qsizetype readPos, const QString& c)
{
    return readPos - 1 + c.size() <= text.size() && QStringView(text).mid(readPos - 1, c.size()) == c;
}

// The longest candidate that matches the text; among equally long ones the earlier.
const Candidate* Longest(const QList<Candidate>& list, const QString& text, qsizetype readPos)
{
    const Candidate* best = nullptr;
    for (const Candidate& c : list) {
        if (MatchesAt(text, readPos, c.text) && (!best || c.text.size() > best->text.size()))
            best = &c;
    }
    return best;
}

const Candidate* FirstEqualTo(const QList<Candidate>& list, const QString& text)
{
    for (const Candidate& c : list) {
        if (c.text == text)
            return &c;
    }
    return nullptr;
}

} // namespace

QStringList ReadAfterCandidates(const QString& entryText, const QString& current)
{
    QString w = StripParenthesized(entryText);
    QStringList candidates;
    if (w.contains(u'.')) {
        w = DotsToSpaces(w);
        if (w.contains(u' ')) {
            for (const QString& piece : w.split(u' ', Qt::SkipEmptyParts)) {
                if (piece.startsWith(current))
                    candidates << piece;
            }
            return candidates;
        }
    }
    if (w.startsWith(current))
        candidates << w;
    return candidates;
}

ReadAfterWord SegmentNextWord(const QString& text, qsizetype readPos, const QStringList& lessonWords,
                              const QStringList& courseWords)
{
    if (readPos < 1)
        return {}; // the reading has ended
    // A character beyond U+FFFF is read (or skipped) whole, both of its UTF-16 units.
    for (QString current;; readPos += current.size()) {
        while (readPos <= text.size() && HasNonHanzi(text.at(readPos - 1)))
            ++readPos;
        ReadAfterWord result;
        if (readPos < 1 || readPos > text.size())
            return result;
        result.End = false;
        result.ReadPos = readPos;
        result.WholeWord = true;
        current = TextCharacters(text.mid(readPos - 1, 2)).constFirst();

        const QList<Candidate> lesson = CandidatesOf(lessonWords, current);
        if (const Candidate* best = Longest(lesson, text, readPos)) {
            result.Word = best->text;
            result.Entry = best->entry;
            result.FromLesson = true;
            return result;
        }

        const QList<Candidate> course = CandidatesOf(courseWords, current);
        if (!course.isEmpty()) {
            const Candidate* best = nullptr;
            for (const Candidate& c : course) {
                if (!MatchesAt(text, readPos, c.text))
                    continue;
                const qsizetype after = readPos - 1 + c.text.size();
                const QString next = after < text.size() ? QString(text.at(after)) : QString();
                // 我看 before a Chinese character, and 小山 before 羊, are read as 我 and 小.
                const QString* alone = nullptr;
                static const QString wo = QStringLiteral("我");
                static const QString xiao = QStringLiteral("小");
                if (c.text == u"我看" && !HasNonHanzi(next))
                    alone = &wo;
                else if (c.text == u"小山" && next == u"羊")
                    alone = &xiao;
                if (alone) {
                    if (const Candidate* single = FirstEqualTo(course, *alone)) {
                        result.Word = single->text;
                        result.Entry = single->entry;
                        return result;
                    }
                    continue;
                }
                if (!best || c.text.size() > best->text.size())
                    best = &c;
            }
            result.Word = best ? best->text : current;
            result.Entry = best ? best->entry : course.first().entry;
            return result;
        }

        for (int i = 0; i < courseWords.size(); ++i) {
            if (courseWords.at(i).contains(current)) {
                result.Word = current;
                result.Entry = i + 1;
                result.WholeWord = false;
                return result;
            }
        }
        // Found nowhere: skipped without a sound.
    }
}

QString WordPinyinInEntry(const QString& word, const QString& entryChinese, const QString& entryPinyin)
{
    // One syllable per character: places and lengths are counted in characters.
    const QString entry = StripPunctuation(entryChinese);
    const qsizetype found = entry.indexOf(word);
    const qsizetype k = found < 0 ? 1 : TextCharacters(entry.left(found)).size() + 1;
    const qsizetype n = TextCharacters(word).size();
    QString pinyin;
    QString piece;
    qsizetype m = 0;
    for (QChar c : entryPinyin) {
        if (c == u'.')
            continue;
        piece += c;
        if (c.isDigit()) {
            ++m;
            if (m >= k && m < k + n)
                pinyin += piece;
            piece.clear();
        }
    }
    return pinyin;
}

qsizetype ReadAfterHighlight(const QString& text, const QString& word, qsizetype searchFrom, qsizetype readPos)
{
    const qsizetype found = text.indexOf(word, qMax<qsizetype>(searchFrom, 1) - 1);
    return found >= 0 ? found : readPos - 1;
}
