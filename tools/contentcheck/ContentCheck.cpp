#include "ContentCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "CodePage.h"
#include "DialogScript.h"

namespace ContentCheck {

namespace {

bool IsHan(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || u == 0x3007;
}

QString HanOnly(const QString& s)
{
    QString out;
    for (QChar c : s)
        if (IsHan(c))
            out += c;
    return out;
}

// Cuts a numbered-pinyin line into syllables: every syllable ends at its digit; anything
// that is not a letter, a dot or a digit (blanks, punctuation) separates syllables.
QStringList SplitLine(const QString& line, QString* stray)
{
    QStringList out;
    QString cur;
    for (QChar c : line) {
        if (c.isDigit()) {
            out << cur + c;
            cur.clear();
        } else if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('.')) {
            cur += c;
        } else {
            if (!cur.isEmpty() && stray)
                *stray = cur;
            cur.clear();
        }
    }
    if (!cur.isEmpty() && stray)
        *stray = cur;
    return out;
}

// The vowel that carries the tone mark: a or e; o in "ou"; otherwise the last vowel.
int ToneVowelIndex(const QString& plain)
{
    const int a = plain.indexOf(QLatin1Char('a'));
    if (a >= 0)
        return a;
    const int e = plain.indexOf(QLatin1Char('e'));
    if (e >= 0)
        return e;
    const int ou = plain.indexOf(QLatin1String("ou"));
    if (ou >= 0)
        return ou;
    for (int i = plain.size() - 1; i >= 0; --i)
        if (QStringLiteral("iouv").contains(plain[i]))
            return i;
    return -1;
}

struct Group {
    int line; // 1-based line of the pinyin line
    QString pinyin, chinese, english;
};

QList<Group> ReadGroups(const QString& path, QStringList& errors, const QString& name)
{
    QList<Group> groups;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        errors << name + QStringLiteral(": cannot be read");
        return groups;
    }
    QString text = QString::fromUtf8(f.readAll());
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() % 3 != 0)
        errors << QStringLiteral("%1: %2 lines, not whole groups of three").arg(name).arg(lines.size());
    for (int i = 0; i + 2 < lines.size(); i += 3)
        groups.append({i + 1, lines[i], lines[i + 1], lines[i + 2]});
    return groups;
}

} // namespace

bool LoadReadings(const QString& path, Readings& out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& l : lines) {
        const int tab = l.indexOf(QLatin1Char('\t'));
        if (tab != 1)
            continue;
        auto& set = out[l[0]];
        for (const QString& r : l.mid(2).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            set.insert(r.trimmed());
    }
    return !out.isEmpty();
}

QString SyllableProblem(const QString& syllable, const QSet<QString>& validPlain)
{
    if (syllable.size() < 2)
        return QStringLiteral("too short");
    const QChar tone = syllable.back();
    if (tone < QLatin1Char('0') || tone > QLatin1Char('4'))
        return QStringLiteral("tone digit must be 0-4");
    const QString body = syllable.chopped(1);
    if (body.count(QLatin1Char('.')) != 1)
        return QStringLiteral("needs exactly one tone dot");
    const int dot = body.indexOf(QLatin1Char('.'));
    QString plain = body;
    plain.remove(dot, 1);
    if (plain.isEmpty())
        return QStringLiteral("no letters");
    if (!validPlain.isEmpty() && !validPlain.contains(plain))
        return QStringLiteral("\"%1\" is not a Mandarin syllable").arg(plain);
    if (ToneVowelIndex(plain) != dot)
        return QStringLiteral("the dot belongs before the tone vowel");
    return {};
}

namespace {

// Plain syllables known anywhere in the readings: the inventory of valid spellings.
const QSet<QString>& Inventory(const Readings& readings)
{
    static QSet<QString> inventory;
    static const Readings* inventoryOf = nullptr;
    if (inventoryOf != &readings) {
        inventory.clear();
        for (const auto& set : readings)
            for (const QString& r : set)
                inventory.insert(r.chopped(1));
        inventoryOf = &readings;
    }
    return inventory;
}

bool HasOutsideCharacters(const QString& where, const QStringList& lines, QStringList& errors)
{
    bool found = false;
    for (const QString& l : lines)
        for (QChar c : l)
            if (!CodePage::InCodePage(c)) {
                errors << where + QStringLiteral("\"%1\" (U+%2) is not in code page 936").arg(c).arg(c.unicode(), 4, 16, QLatin1Char('0'));
                found = true;
            }
    return found;
}

// One pinyin line against its Chinese line: Chinese characters only (and marks), one valid
// syllable per character, each a known reading of its character.
void CheckPinyinOfLine(const QString& where, const QString& pinyin, const QString& chinese, bool heading,
    const Readings& readings, QSet<QString>& syllables, QStringList& errors)
{
    const QSet<QString>& inventory = Inventory(readings);
    for (QChar c : chinese)
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || c.isDigit())
            errors << where + QStringLiteral("Latin letters or digits in the Chinese line");
    QString stray;
    const QStringList sylls = SplitLine(pinyin, &stray);
    if (!stray.isEmpty()) {
        errors << where + QStringLiteral("\"%1\" has no tone digit").arg(stray);
        return;
    }
    const QString han = HanOnly(heading ? chinese.mid(1) : chinese);
    if (heading && sylls.isEmpty())
        return;
    if (sylls.size() != han.size()) {
        errors << where + QStringLiteral("%1 syllables for %2 characters").arg(sylls.size()).arg(han.size());
        return;
    }
    for (int i = 0; i < sylls.size(); ++i) {
        const QString& s = sylls[i];
        const QString problem = SyllableProblem(s, inventory);
        if (!problem.isEmpty()) {
            errors << where + QStringLiteral("%1: %2").arg(s, problem);
            continue;
        }
        QString plainToned = s;
        plainToned.remove(QLatin1Char('.'));
        syllables.insert(plainToned);
        const QChar ch = han[i];
        const QChar tone = plainToned.back();
        const QString plain = plainToned.chopped(1);
        // Citation forms: 一 is yi1 and 不 is bu4 wherever a sandhi would change them.
        if (ch == QChar(0x4E00) || ch == QChar(0x4E0D)) {
            const QString citation = ch == QChar(0x4E00) ? QStringLiteral("yi1") : QStringLiteral("bu4");
            if (plainToned != citation && plainToned != citation.chopped(1) + QLatin1Char('0'))
                errors << where + QStringLiteral("%1 is written %2 in citation form, not %3").arg(ch).arg(citation, plainToned);
            continue;
        }
        const auto it = readings.constFind(ch);
        if (it == readings.constEnd()) {
            errors << where + QStringLiteral("no known reading for %1").arg(ch);
            continue;
        }
        bool ok = it->contains(plainToned);
        if (!ok && tone == QLatin1Char('0'))
            ok = std::any_of(it->cbegin(), it->cend(), [&](const QString& r) { return r.chopped(1) == plain; });
        if (!ok) {
            QStringList known = it->values();
            known.sort();
            errors << where + QStringLiteral("%1 read %2, known: %3").arg(ch).arg(plainToned, known.join(QLatin1Char(' ')));
        }
    }
}

} // namespace

void CheckFile(const QString& path, const QString& name, bool isText, const Readings& readings,
    QSet<QString>& syllables, QStringList& errors)
{
    const QList<Group> groups = ReadGroups(path, errors, name);
    for (const Group& g : groups) {
        const QString where = QStringLiteral("%1:%2: ").arg(name).arg(g.line);
        const bool heading = isText && g.chinese.startsWith(QLatin1Char('#'));
        HasOutsideCharacters(where, {g.pinyin, g.chinese, g.english}, errors);
        if (g.chinese.trimmed().isEmpty() || g.english.trimmed().isEmpty()) {
            errors << where + QStringLiteral("empty Chinese or English line");
            continue;
        }
        CheckPinyinOfLine(where, g.pinyin, g.chinese, heading, readings, syllables, errors);
    }
}

int CheckDialogScript(const QString& scriptPath, const QString& pinyinPath, const QString& name,
    const Readings& readings, QSet<QString>& syllables, QStringList& errors)
{
    bool scriptOk = false, pinyinOk = false;
    const QStringList script = ReadLines(scriptPath, &scriptOk);
    const QStringList pinyin = ReadLines(pinyinPath, &pinyinOk);
    if (!scriptOk || !pinyinOk) {
        errors << name + QStringLiteral(": the script or its pinyin file cannot be read");
        return 0;
    }
    if (script.size() != pinyin.size())
        errors << name + QStringLiteral(": %1 lines, but %2 pinyin lines").arg(script.size()).arg(pinyin.size());
    // Which line each sound name was first given to: one recording serves one text only.
    QHash<QString, DialogLine> sounds{{QStringLiteral("b.wav"), {QStringLiteral("再见！"), QStringLiteral("Bye-Bye.")}}};
    int dialogues = 0;
    int linesInDialogue = 0;
    auto closeDialogue = [&](int line) {
        if (dialogues > 0 && linesInDialogue < 2)
            errors << QStringLiteral("%1:%2: dialogue %3 has no replies").arg(name).arg(line).arg(dialogues);
    };
    for (int i = 0; i < script.size(); ++i) {
        const QString where = QStringLiteral("%1:%2: ").arg(name).arg(i + 1);
        const QString& line = script[i];
        const QString p = pinyin.value(i);
        if (line.isEmpty()) {
            if (!p.isEmpty())
                errors << where + QStringLiteral("the pinyin file has text beside an empty line");
            continue;
        }
        if (IsDialogNumberLine(line)) {
            closeDialogue(i + 1);
            ++dialogues;
            linesInDialogue = 0;
            if (line != QString::number(dialogues))
                errors << where + QStringLiteral("dialogue %1 is numbered \"%2\"").arg(dialogues).arg(line);
            if (p != line)
                errors << where + QStringLiteral("the pinyin file has \"%1\" for this number line").arg(p);
            continue;
        }
        if (dialogues == 0) {
            errors << where + QStringLiteral("text before the first number line");
            continue;
        }
        DialogLine split;
        if (!SplitDialogLine(line, split) || split.Chinese.trimmed().isEmpty() || split.English.trimmed().isEmpty()) {
            errors << where + QStringLiteral("not \"Chinese = English\"");
            continue;
        }
        ++linesInDialogue;
        if (HasOutsideCharacters(where, {line, p}, errors))
            continue;
        CheckPinyinOfLine(where, p, split.Chinese, false, readings, syllables, errors);
        const QString sound = DialogSoundFileName(split.English);
        const auto it = sounds.constFind(sound);
        if (it == sounds.constEnd())
            sounds.insert(sound, split);
        else if (it->Chinese != split.Chinese || it->English != split.English)
            errors << where + QStringLiteral("sound %1 is already the recording of \"%2 = %3\"").arg(sound, it->Chinese, it->English);
    }
    closeDialogue(int(script.size()));
    return dialogues;
}

QSet<QString> LoadWordSet(const QString& path)
{
    QSet<QString> words;
    bool ok = false;
    for (const QString& line : ReadLines(path, &ok)) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && !word.startsWith(QLatin1Char('#')))
            words.insert(word);
    }
    return words;
}

void WordRules::AddWord(const QString& word)
{
    words.insert(word);
    longest = std::max(longest, int(word.size()));
}

namespace {

// `used` is the reading `taught`: the same syllables, where a neutral one stands for the same
// syllable in any tone.
bool SameReading(const QString& taught, const QString& used)
{
    const QStringList t = taught.split(QLatin1Char(' '));
    const QStringList u = used.split(QLatin1Char(' '));
    if (t.size() != u.size())
        return false;
    for (int i = 0; i < t.size(); ++i)
        if (t[i] != u[i] && !(u[i].endsWith(QLatin1Char('0')) && t[i].chopped(1) == u[i].chopped(1)))
            return false;
    return true;
}

} // namespace

void WordRules::Teach(const QString& word, const QString& spelling, int lesson)
{
    AddWord(word);
    auto& readings = taughtIn[word];
    if (!readings.contains(spelling))
        readings.insert(spelling, lesson);
}

int WordRules::TaughtIn(const QString& word, const QString& spelling) const
{
    const auto readings = taughtIn.constFind(word);
    if (readings == taughtIn.cend())
        return 0;
    int first = 0;
    for (auto it = readings->cbegin(); it != readings->cend(); ++it)
        if ((spelling.isEmpty() || SameReading(it.key(), spelling)) && (!first || it.value() < first))
            first = it.value();
    return first;
}

int WordRules::TaughtHeadLength(const QString& word, const QStringList& syllables, int lesson) const
{
    const bool withReadings = syllables.size() == word.size();
    for (int head = int(word.size()) - 1; head > 0; --head) {
        if (!measureWords.contains(word.mid(head)) && !placeWords.contains(word.mid(head)))
            continue;
        const int taught = TaughtIn(word.left(head), withReadings ? syllables.mid(0, head).join(QLatin1Char(' ')) : QString());
        if (taught && taught <= lesson)
            return head;
    }
    return 0;
}

QHash<QString, QSet<QString>> LoadSpellings(const QString& path)
{
    QHash<QString, QSet<QString>> out;
    bool ok = false;
    for (const QString& line : ReadLines(path, &ok)) {
        if (line.startsWith(QLatin1Char('#')) || !line.contains(QLatin1Char('=')))
            continue;
        const QString word = line.section(QLatin1Char('='), 0, 0).trimmed();
        for (const QString& spelling : line.section(QLatin1Char('='), 1).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            out[word].insert(spelling.simplified());
    }
    return out;
}

QStringList SplitWords(const QString& han, const WordRules& rules, int lesson, const QStringList& syllables)
{
    const bool withReadings = syllables.size() == han.size();
    // best[i]: the best cutting of the first i characters, as (pieces, untaught pieces, start of
    // the last piece, the length of a taught word that the last piece cuts off in front).
    struct Cut {
        int pieces = -1, untaught = 0, from = 0, head = 0;
    };
    const int n = int(han.size());
    QList<Cut> best(n + 1);
    best[0].pieces = 0;
    for (int i = 0; i < n; ++i) {
        if (best[i].pieces < 0)
            continue;
        for (int len = 1; len <= std::min(rules.longest, n - i); ++len) {
            const QString piece = han.mid(i, len);
            if (len > 1 && !rules.words.contains(piece) && !(len == 2 && piece[0] == piece[1]))
                continue;
            const QStringList readings = withReadings ? syllables.mid(i, len) : QStringList();
            const int taught = rules.TaughtIn(piece, readings.join(QLatin1Char(' ')));
            // 每个, 一刻 and 街上 are uses of the 每, 刻 and 街 a lesson teaches, although the
            // extra vocabulary holds them: a pair no list teaches, whose meaning is its parts',
            // counts as one taught piece and comes out as its two words.
            int head = 0;
            if (len > 1 && !taught && !rules.wholeWords.contains(piece)) {
                head = rules.TaughtHeadLength(piece, readings, lesson);
                const int tail = head ? rules.TaughtIn(piece.mid(head), readings.mid(head).join(QLatin1Char(' '))) : 0;
                if (!tail || tail > lesson)
                    head = 0;
            }
            const int untaught = !head && (!taught || taught > lesson) ? 1 : 0;
            const Cut cut{best[i].pieces + 1, best[i].untaught + untaught, i, head};
            Cut& to = best[i + len];
            if (to.pieces < 0 || cut.pieces < to.pieces || (cut.pieces == to.pieces && cut.untaught < to.untaught))
                to = cut;
        }
    }
    QStringList out;
    for (int end = n; end > 0; end = best[end].from) {
        const Cut& cut = best[end];
        if (cut.head) {
            out.prepend(han.mid(cut.from + cut.head, end - cut.from - cut.head));
            out.prepend(han.mid(cut.from, cut.head));
        } else {
            out.prepend(han.mid(cut.from, end - cut.from));
        }
    }
    return out;
}

QList<PhraseList> ReadPhraseLists(const QString& vocabularyDir)
{
    QList<PhraseList> lists;
    const QDir dir(vocabularyDir);
    for (const QString& file : dir.entryList({QStringLiteral("zi*.txt")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        const QStringList lines = ReadLines(dir.filePath(file), &ok);
        for (int i = 1; i < lines.size(); i += 2) {
            const QString& line = lines[i];
            if (line.isEmpty())
                continue;
            PhraseList list{QStringLiteral("Vocabulary/%1:%2: ").arg(file).arg(i + 1), line.mid(1).split(QLatin1Char(','))};
            // Text after the last comma is no phrase.
            list.phrases.removeLast();
            for (QString& phrase : list.phrases)
                phrase.prepend(line[0]);
            if (!list.phrases.isEmpty())
                lists.append(list);
        }
    }
    return lists;
}

void CheckPhraseLists(const QString& vocabularyDir, const QSet<QString>& stopList, const QSet<QString>& notFirst, QStringList& errors)
{
    for (const PhraseList& list : ReadPhraseLists(vocabularyDir)) {
        // A phrase that holds a stop word is as bad as the stop word itself (洋鬼子 holds 鬼子).
        for (qsizetype p = 0; p < list.phrases.size(); ++p) {
            const QString& phrase = list.phrases[p];
            for (const QString& stop : stopList)
                if (phrase.contains(stop)) {
                    errors << list.where + QStringLiteral("\"%1\" holds \"%2\" of the stop list").arg(phrase, stop);
                    break;
                }
            if (p > 0)
                continue;
            for (const QString& word : notFirst)
                if (phrase.contains(word)) {
                    errors << list.where + QStringLiteral("\"%1\" holds \"%2\", which never heads a list").arg(phrase, word);
                    break;
                }
        }
    }
}

namespace {

// The spellings of every word of the lessons and scripts (word -> spelling -> first place), the
// words of each lesson text, and the lesson text words that no word list up to their lesson
// teaches in the reading they have there.
struct WordPass {
    const WordRules& rules;
    QHash<QString, QMap<QString, QString>> spellings;
    QMap<QString, QString> untaught; // "word spelling" -> first place
    QHash<int, QHash<QString, QSet<QString>>> textWords; // lesson -> word -> its spellings there
    QStringList errors;

    void Line(const QString& where, const QString& pinyin, const QString& chinese, int lesson, bool isText)
    {
        const QString han = HanOnly(chinese);
        QStringList sylls = SplitLine(pinyin, nullptr);
        if (sylls.size() != han.size())
            return; // reported by the spelling check
        for (QString& s : sylls)
            s.remove(QLatin1Char('.'));
        int at = 0;
        for (const QString& word : SplitWords(han, rules, lesson, sylls)) {
            const QStringList wordSylls = sylls.mid(at, word.size());
            const QString spelling = wordSylls.join(QLatin1Char(' '));
            at += int(word.size());
            auto& places = spellings[word];
            if (!places.contains(spelling))
                places.insert(spelling, where);
            if (!isText)
                continue;
            textWords[lesson][word].insert(spelling);
            // 房子前面 uses 前: a word of two place words (前 + 面) is a use of both. Other
            // words of a list keep their own meaning (马上 is no use of 马 "horse").
            const int head = rules.TaughtHeadLength(word, wordSylls, lesson);
            if (head && rules.placeWords.contains(word.left(head)) && rules.placeWords.contains(word.mid(head))) {
                textWords[lesson][word.left(head)].insert(wordSylls.mid(0, head).join(QLatin1Char(' ')));
                textWords[lesson][word.mid(head)].insert(wordSylls.mid(head).join(QLatin1Char(' ')));
            }
            const int taught = rules.TaughtIn(word, spelling);
            const QString key = word + QLatin1Char(' ') + spelling;
            if ((taught && taught <= lesson) || untaught.contains(key))
                continue;
            untaught.insert(key, where);
            // Only a word no list teaches so may be excused: a list word belongs in the list of
            // its first use, and a word whose meaning is not the sum of its parts is never excused
            // as made of taught parts.
            if (taught)
                errors << where + QStringLiteral("%1 %2 is used before lesson %3 teaches it").arg(word, spelling).arg(taught);
            else if (!rules.allowedUntaught.contains(word) || rules.wholeWords.contains(word))
                errors << where + QStringLiteral("%1 %2 is taught by no word list%3").arg(word, spelling, OtherReading(word));
            else
                MisreadParts(where, word, wordSylls, lesson);
        }
    }

    // " (its lists teach it read zhong4)" after 种 where the lists teach the word in other readings.
    QString OtherReading(const QString& word) const
    {
        QStringList taught = rules.taughtIn.value(word).keys();
        if (taught.isEmpty())
            return {};
        taught.sort();
        return QStringLiteral(" (its lists teach it read %1)").arg(taught.join(QStringLiteral(", ")));
    }

    // An excuse says a word is made of taught parts or is a name, never that a character of it
    // is taught in the reading it has there: a character that a list up to here teaches on its
    // own in another reading does not count (这种 with 种 zhong3 "kind", where only 种 zhong4
    // "to plant" is taught).
    void MisreadParts(const QString& where, const QString& word, const QStringList& sylls, int lesson)
    {
        for (int i = 0; i < word.size(); ++i) {
            const QString character = word.mid(i, 1);
            const int any = rules.TaughtIn(character);
            const int taught = rules.TaughtIn(character, sylls[i]);
            if (!any || any > lesson || (taught && taught <= lesson))
                continue;
            errors << where + QStringLiteral("%1 is allowed untaught, but its %2 is read %3, which no word list up to here teaches%4")
                                  .arg(word, character, sylls[i], OtherReading(character));
        }
    }
};

// Same word, same pinyin; no text word before the word list that teaches it, unless allowed.
void CheckWords(const QString& contentDir, Result& r)
{
    WordRules rules;
    rules.spellings = LoadSpellings(contentDir + QStringLiteral("/Data/spellings.txt"));
    rules.allowedUntaught = LoadWordSet(contentDir + QStringLiteral("/Data/untaught.txt"));
    rules.wholeWords = LoadWordSet(contentDir + QStringLiteral("/Data/idioms.txt"));
    rules.measureWords = LoadWordSet(contentDir + QStringLiteral("/Data/measurewords.txt"));
    rules.placeWords = LoadWordSet(contentDir + QStringLiteral("/Data/placewords.txt"));
    QStringList ignored;
    const QString lessons = contentDir + QStringLiteral("/Lessons/Script/Lesson_%1/%2");
    // Each lesson's word list, read once for the word rules and the spellings.
    QList<QList<Group>> lessonWords(92);
    for (int n = 1; n <= 91; ++n) {
        lessonWords[n] = ReadGroups(lessons.arg(n).arg(QStringLiteral("icwp.txt")), ignored, {});
        for (const Group& g : lessonWords[n])
            rules.Teach(g.chinese.trimmed(), SplitLine(g.pinyin, nullptr).join(QLatin1Char(' ')).remove(QLatin1Char('.')), n);
    }
    const QDir vocabulary(contentDir + QStringLiteral("/Vocabulary"));
    for (const QString& file : vocabulary.entryList({QStringLiteral("ci*.txt")}, QDir::Files))
        for (const Group& g : ReadGroups(vocabulary.filePath(file), ignored, {}))
            rules.AddWord(g.chinese.trimmed());

    WordPass pass{rules, {}, {}, {}, {}};
    for (int n = 1; n <= 91; ++n) {
        const QString words = QStringLiteral("Lesson_%1/icwp.txt").arg(n);
        for (const Group& g : lessonWords[n])
            pass.spellings[g.chinese.trimmed()].insert(
                SplitLine(g.pinyin, nullptr).join(QLatin1Char(' ')).remove(QLatin1Char('.')), QStringLiteral("%1:%2: ").arg(words).arg(g.line));
        const QString text = QStringLiteral("Lesson_%1/lifr.txt").arg(n);
        if (!QFileInfo::exists(lessons.arg(n).arg(QStringLiteral("lifr.txt"))))
            continue;
        for (const Group& g : ReadGroups(lessons.arg(n).arg(QStringLiteral("lifr.txt")), ignored, {})) {
            const bool heading = g.chinese.startsWith(QLatin1Char('#'));
            pass.Line(QStringLiteral("%1:%2: ").arg(text).arg(g.line), g.pinyin, heading ? g.chinese.mid(1) : g.chinese, n, !heading);
        }
        // Every word of the list is met in the lesson's own text, as a word of its own in the
        // reading the list gives, or the lesson's review and vocabulary test ask for a word the
        // lesson never shows: 去 inside 去年 is no use of 去.
        const auto& used = pass.textWords[n];
        for (const Group& g : lessonWords[n]) {
            const QString word = g.chinese.trimmed();
            const QString spelling = SplitLine(g.pinyin, nullptr).join(QLatin1Char(' ')).remove(QLatin1Char('.'));
            const QSet<QString> readings = used.value(word);
            if (std::none_of(readings.cbegin(), readings.cend(), [&](const QString& r) { return SameReading(spelling, r); }))
                pass.errors << QStringLiteral("%1:%2: %3 is not used by the lesson text").arg(words).arg(g.line).arg(word);
        }
    }
    const QDir spoken(contentDir + QStringLiteral("/Spoken"));
    for (const QString& file : spoken.entryList({QStringLiteral("Script?*.txt")}, QDir::Files, QDir::Name))
        for (const Group& g : ReadGroups(spoken.filePath(file), ignored, {}))
            pass.Line(QStringLiteral("Spoken/%1:%2: ").arg(file).arg(g.line), g.pinyin, g.chinese, 91, false);
    bool ok = false;
    const QStringList script = ReadLines(spoken.filePath(QStringLiteral("Script.txt")), &ok);
    const QStringList scriptPinyin = ReadLines(spoken.filePath(QStringLiteral("Script.pinyin")), &ok);
    for (int i = 0; i < script.size() && i < scriptPinyin.size(); ++i) {
        DialogLine split;
        if (!IsDialogNumberLine(script[i]) && SplitDialogLine(script[i], split))
            pass.Line(QStringLiteral("Spoken/Script.txt:%1: ").arg(i + 1), scriptPinyin[i], split.Chinese, 91, false);
    }

    r.errors << pass.errors;
    int twoWays = 0, listedTwoWays = 0;
    QStringList words = pass.spellings.keys();
    words.sort();
    for (const QString& word : words) {
        const auto& places = pass.spellings[word];
        const auto allowed = rules.spellings.constFind(word);
        QStringList outside;
        for (auto it = places.cbegin(); it != places.cend(); ++it)
            if (allowed == rules.spellings.cend() ? places.size() > 1 : !allowed->contains(it.key()))
                outside << QStringLiteral("%1 (%2)").arg(it.key(), it.value().chopped(2));
        if (places.size() > 1)
            ++(allowed == rules.spellings.cend() ? twoWays : listedTwoWays);
        if (!outside.isEmpty())
            r.errors << QStringLiteral("%1 is spelled %2").arg(word, outside.join(QStringLiteral(", ")));
    }
    QStringList untaught;
    for (auto it = pass.untaught.cbegin(); it != pass.untaught.cend(); ++it)
        untaught << it.key().section(QLatin1Char(' '), 0, 0);
    untaught.removeDuplicates();
    r.report << QStringLiteral("%1 text words are used before a word list teaches them: %2").arg(untaught.size()).arg(untaught.join(QLatin1Char(' ')));
    r.report << QStringLiteral("%1 words are spelled more than one way, besides %2 listed as deliberate").arg(twoWays).arg(listedTwoWays);
}

} // namespace

Result CheckContent(const QString& contentDir, const Readings& readings)
{
    Result r;
    QSet<QString> syllables;
    QSet<QChar> taught; // characters of the new words up to the lesson at hand
    int lessons = 0, words = 0, sentences = 0;
    for (int n = 1; n <= 91; ++n) {
        const QString dir = QStringLiteral("%1/Lessons/Script/Lesson_%2/").arg(contentDir).arg(n);
        const QString wordsName = QStringLiteral("Lesson_%1/icwp.txt").arg(n);
        const QString textName = QStringLiteral("Lesson_%1/lifr.txt").arg(n);
        // A lesson's words count as taught even while its text is still missing.
        const bool hasWords = QFileInfo::exists(dir + QStringLiteral("icwp.txt"));
        const bool hasText = QFileInfo::exists(dir + QStringLiteral("lifr.txt"));
        if (!hasWords)
            r.errors << wordsName + QStringLiteral(" is missing");
        if (!hasText)
            r.errors << textName + QStringLiteral(" is missing");
        if (!hasWords && !hasText)
            continue;
        ++lessons;
        if (hasWords)
            CheckFile(dir + QStringLiteral("icwp.txt"), wordsName, false, readings, syllables, r.errors);
        if (hasText)
            CheckFile(dir + QStringLiteral("lifr.txt"), textName, true, readings, syllables, r.errors);

        QStringList dummy;
        const QList<Group> wordGroups = hasWords ? ReadGroups(dir + QStringLiteral("icwp.txt"), dummy, wordsName) : QList<Group>();
        const QList<Group> textGroups = hasText ? ReadGroups(dir + QStringLiteral("lifr.txt"), dummy, textName) : QList<Group>();
        QSet<QChar> fresh;
        QSet<QString> meanings;
        for (const Group& g : wordGroups) {
            for (QChar c : HanOnly(g.chinese))
                if (!taught.contains(c))
                    fresh.insert(c);
            meanings.insert(g.english.trimmed());
        }
        if (wordGroups.size() < 2 || meanings.size() < 2)
            r.errors << wordsName + QStringLiteral(": needs at least two new words with distinct meanings");
        for (QChar c : fresh)
            taught.insert(c);
        QSet<QChar> untaught;
        int lines = 0;
        bool hasTitle = false, longLine = false;
        for (const Group& g : textGroups) {
            if (g.chinese.startsWith(QLatin1Char('#'))) {
                hasTitle = hasTitle || !g.english.trimmed().isEmpty();
                continue;
            }
            ++lines;
            const QString han = HanOnly(g.chinese);
            longLine = longLine || han.size() >= 4;
            for (QChar c : han)
                if (!taught.contains(c))
                    untaught.insert(c);
        }
        if (hasText && !hasTitle)
            r.errors << textName + QStringLiteral(": no heading with an English title");
        if (hasText && (lines == 0 || !longLine))
            r.errors << textName + QStringLiteral(": needs text lines of four or more characters");
        words += wordGroups.size();
        sentences += lines;
        QString untaughtText;
        for (QChar c : untaught)
            untaughtText += c;
        std::sort(untaughtText.begin(), untaughtText.end());
        r.report << QStringLiteral("Lesson %1: %2 words, %3 text lines, %4 new characters, %5 not yet taught %6")
                        .arg(n, 2)
                        .arg(wordGroups.size(), 2)
                        .arg(lines, 2)
                        .arg(fresh.size(), 3)
                        .arg(untaught.size(), 3)
                        .arg(untaughtText);
    }
    CheckWords(contentDir, r);
    const QString vocabulary = contentDir + QStringLiteral("/Vocabulary");
    if (!QDir(vocabulary).entryList({QStringLiteral("zi*.txt")}, QDir::Files).isEmpty()) {
        const QSet<QString> stopList = LoadWordSet(contentDir + QStringLiteral("/Data/stoplist.txt"));
        if (stopList.isEmpty())
            r.errors << QStringLiteral("Data/stoplist.txt is missing or empty");
        CheckPhraseLists(vocabulary, stopList, LoadWordSet(contentDir + QStringLiteral("/Data/notfirst.txt")), r.errors);
    }
    QDir spoken(contentDir + QStringLiteral("/Spoken"));
    int dialogues = 0;
    if (spoken.exists(QStringLiteral("Script.txt")))
        dialogues = CheckDialogScript(spoken.filePath(QStringLiteral("Script.txt")), spoken.filePath(QStringLiteral("Script.pinyin")),
            QStringLiteral("Spoken/Script.txt"), readings, syllables, r.errors);
    const QStringList scripts = spoken.entryList({QStringLiteral("Script*.txt")}, QDir::Files, QDir::Name);
    int topic = 0, dialogue = 0;
    for (const QString& s : scripts) {
        static const QRegularExpression topicName(QStringLiteral("^Script_(\\d+)\\.txt$"));
        static const QRegularExpression dialogueName(QStringLiteral("^Script(\\d+)\\.txt$"));
        if (topicName.match(s).hasMatch())
            ++topic;
        else if (dialogueName.match(s).hasMatch())
            ++dialogue;
        else
            continue;
        CheckFile(spoken.filePath(s), QStringLiteral("Spoken/") + s, false, readings, syllables, r.errors);
    }
    r.report << QStringLiteral("%1 lessons, %2 new words, %3 text lines, %4 characters taught; %5 topic scripts, %6 dialogue scripts, %7 dialogues for the dialogue tool; %8 distinct toned syllables")
                    .arg(lessons)
                    .arg(words)
                    .arg(sentences)
                    .arg(taught.size())
                    .arg(topic)
                    .arg(dialogue)
                    .arg(dialogues)
                    .arg(syllables.size());
    return r;
}

QStringList ReadLines(const QString& path, bool* ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    if (!*ok)
        return {};
    QString text = QString::fromUtf8(f.readAll());
    text.remove(QLatin1Char('\r'));
    // Only the line end of the last line goes: a last group's empty line is a line too.
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace ContentCheck
