#include "SentenceQuiz.h"

#include "BlankTrim.h"
#include "Module3Rtf.h"
#include "Pinyin.h"
#include "TextFilters.h"

namespace {
QString Letter(int option)
{
    switch (option) {
    case 0:
        return QStringLiteral("A");
    case 1:
        return QStringLiteral("B");
    default:
        return QStringLiteral("C");
    }
}

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

QString MarkedPinyin(const SentenceRecord& line) { return NumberedToMarkedPinyin(line.Pinyin) + QLatin1Char(' '); }

// A character beyond U+FFFF moves whole, both of its UTF-16 units.
bool Swappable(const QString& c) { return IsChineseCharacter(c.front()); }
} // namespace

QString LetterOptionText(const QString& text, int option)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return Letter(option) + QLatin1Char('.') + text;
    return Letter(option) + QLatin1Char('.') + text.mid(dot + 1);
}

QString OptionPrefix(const QString& text, int option) { return Letter(option) + QStringLiteral(") ") + text; }

QString SentenceText(const QString& text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return dot < 0 ? text : text.mid(dot + 1);
}

std::optional<QString> SwapTwoCharacters(const QString& text, const QuizDraw& draw)
{
    // Every ordered pair the old draw-until-it-fits could land on, so the choice is as even.
    QStringList characters = TextCharacters(text);
    QList<std::pair<int, int>> pairs;
    for (int p = 0; p < characters.size(); ++p)
        for (int q = 0; q < characters.size(); ++q)
            if (Swappable(characters[p]) && Swappable(characters[q]) && characters[p] != characters[q])
                pairs.append({p, q});
    if (pairs.isEmpty())
        return std::nullopt;
    const auto [p, q] = pairs[DrawSlot(draw, int(pairs.size()))];
    characters.swapItemsAt(p, q);
    return characters.join(QString());
}

QString RandomPoolSentence(const QVector<SentenceRecord>& pool, const QString& rightEnglish, const QuizDraw& draw)
{
    const QString right = BlankTrim(rightEnglish);
    QList<int> fit;
    for (int k = 0; k < pool.size(); ++k) {
        const QString& english = pool[k].English;
        if (!english.contains(QStringLiteral("<<")) && BlankTrim(english) != right)
            fit.append(k);
    }
    if (fit.isEmpty())
        return {};
    return pool[fit[DrawSlot(draw, int(fit.size()))]].English;
}

QuizQuestion MakeQuestion(const SentenceRecord& line, const QVector<SentenceRecord>& pool, const QuizDraw& draw)
{
    QuizQuestion q;
    q.Correct = DrawSlot(draw, 3);
    q.Sound = draw() < 0.5;
    if (line.Source == 0)
        return q;
    if (q.Sound) {
        const QString right = LetterOptionText(line.Chinese, q.Correct);
        if (TextCharacters(HanziOnly(right)).size() < 4)
            return q;
        std::array<QString, 2> wrong;
        for (QString& w : wrong) {
            const std::optional<QString> swapped = SwapTwoCharacters(right, draw);
            if (!swapped)
                return q; // every character the same: nothing to swap
            w = *swapped;
        }
        int next = 0;
        for (int option = 0; option < 3; ++option)
            q.Options[option] = option == q.Correct ? right : LetterOptionText(wrong[next++], option);
    } else {
        for (int option = 0; option < 3; ++option)
            q.Options[option] = OptionPrefix(
                option == q.Correct ? line.English : RandomPoolSentence(pool, line.English, draw), option);
    }
    q.Asked = true;
    return q;
}

QString MarkSwapped(const QString& option, const QString& right)
{
    const QStringList options = TextCharacters(option);
    const QStringList rights = TextCharacters(right);
    QString marked = options.value(0);
    for (int k = 1; k < rights.size(); ++k) {
        const QString c = options.value(k);
        marked += c == rights[k] ? c : QLatin1Char('[') + c + QLatin1Char(']');
    }
    return marked;
}

QStringList QuestionRtf(const SentenceRecord& line, const QuizQuestion& question)
{
    QStringList rtf;
    if (question.Sound) {
        rtf << RtfGreySans10Par(Blanks(6) + QStringLiteral("Which Chinese sentence matches the sound that you are listening to?"));
        for (const QString& option : question.Options)
            rtf << RtfBoldBlueSong24Par(Blanks(2) + option);
        rtf << RtfGreySans12Par(Blanks(14) + line.English);
        rtf << QStringLiteral("{\\par\\par\\par\\par\\par\\par\\par\\par\\par}");
        rtf << RtfBlackRoman16Par(Blanks(10) + MarkedPinyin(line));
    } else {
        rtf << RtfGreySans10Par(Blanks(8) + QStringLiteral("Which English sentence matches the meaning of the Chinese sentence?"));
        rtf << RtfBlackRoman16Par(Blanks(5) + MarkedPinyin(line));
        rtf << RtfBoldBlueSong24Par(Blanks(2) + SentenceText(line.Chinese));
        rtf << RtfGreySans12Par(Blanks(6) + question.Options[0]);
        rtf << RtfGreySans12Par(Blanks(6) + question.Options[1]);
        rtf << RtfGreySans12(Blanks(6) + question.Options[2]);
    }
    return rtf;
}

QStringList CorrectionRtf(const SentenceRecord& line, const QuizQuestion& question)
{
    const QString heading = QStringLiteral("The red one is the correct answer.");
    const QString& right = question.Options[question.Correct];
    QStringList rtf;
    if (question.Sound) {
        rtf << RtfGreySans10Par(Blanks(17) + heading);
        rtf << RtfBlackRoman16Par(Blanks(11) + MarkedPinyin(line));
        for (int option = 0; option < 3; ++option)
            rtf << (option == question.Correct
                    ? RtfBoldRedSong24Par(Blanks(2) + right)
                    : RtfBoldBlueSong24Par(Blanks(2) + MarkSwapped(question.Options[option], right)));
        rtf << RtfGreySans12Par(Blanks(14) + line.English);
    } else {
        rtf << RtfGreySans10Par(Blanks(8) + heading);
        rtf << RtfBlackRoman16Par(Blanks(5) + MarkedPinyin(line));
        rtf << RtfBoldBlueSong24Par(Blanks(2) + SentenceText(line.Chinese));
        for (int option = 0; option < 3; ++option)
            rtf << (option == question.Correct ? RtfRedSans12Par(Blanks(6) + question.Options[option])
                                                : RtfGreySans12Par(Blanks(6) + question.Options[option]));
    }
    return rtf;
}

QString WrongFeedback() { return QStringLiteral("Wrong  不对!"); }
