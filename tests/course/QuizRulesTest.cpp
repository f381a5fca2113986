// The rules of the fill-in exercise and of sentence finding, with scripted draws: blanks, the
// candidates, the grading and the result rows; the questions, their swaps and pool sentences,
// and the correction text.

#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>

#include "BlankExercise.h"
#include "LessonText.h"
#include "RtfDocument.h"
#include "SentenceQuiz.h"
#include "TestSupport.h"
#include "TextFilters.h"

namespace {

// Draws taken in order from values; running out of them fails the test.
QuizDraw Script(QList<double> values)
{
    auto left = std::make_shared<QList<double>>(std::move(values));
    return [left] {
        if (left->isEmpty()) {
            ADD_FAILURE() << "more draws than scripted";
            return 0.0;
        }
        return left->takeFirst();
    };
}

// A fixed but irregular sequence, for properties that must hold for any draw.
QuizDraw Seeded(quint32 seed)
{
    auto g = std::make_shared<QRandomGenerator>(seed);
    return [g] { return g->generateDouble(); };
}

SentenceRecord Sentence(const QString& chinese, const QString& english = QStringLiteral("E"), qint16 source = 1)
{
    return {QStringLiteral("n.i3 h.ao3"), chinese, english, source};
}
SentenceRecord Heading(const QString& chinese) { return Sentence(chinese, QStringLiteral("Title"), 0); }

// What a box shows of the documents, "\n" for each paragraph end. The blank after a builder's
// last control word delimits it, so a row shows one blank fewer than its text begins with.
QString Plain(const QStringList& rtf)
{
    QString plain;
    for (const QString& doc : rtf)
        for (const RtfPiece& piece : Rtf::Read(doc).pieces)
            plain += piece.kind == RtfPiece::Text ? piece.text : QStringLiteral("\n");
    return plain;
}

} // namespace

TEST(BlankRules, MakeBlankTakesOutOneChineseCharacterOtherThanThePreviousOne)
{
    struct Case {
        const char* name;
        QString line;
        QString last;
        double draw;
        int pos; // -1: no blank
    };
    const Case cases[] = {
        {"the first eligible", u"12.你好。"_qs, {}, 0.0, 3},
        {"the last eligible", u"12.你好。"_qs, {}, 0.99, 4},
        {"the previous blank's character is passed over", u"3.好你好"_qs, u"好"_qs, 0.99, 3},
        {"only the previous blank's character", u"4.好！"_qs, u"好"_qs, 0.5, -1},
        {"no Chinese at all", QStringLiteral("5.OK?"), {}, 0.5, -1},
        {"empty", QString(), {}, 0.5, -1},
        {"the ideographic space counts as Chinese", u"6.\u3000"_qs, {}, 0.0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LineBlank b = MakeBlank(c.line, c.last, Script({c.draw}));
        EXPECT_EQ(b.Pos, c.pos);
        if (c.pos < 0) {
            EXPECT_FALSE(b.Made());
            continue;
        }
        EXPECT_EQ(b.Answer, c.line.mid(c.pos, 1));
        EXPECT_EQ(b.BlankedLine, c.line.left(c.pos) + "__" + c.line.mid(c.pos + 1));
    }
}

TEST(BlankRules, EveryLessonBuildsWithItsInvariantsWhateverTheDraws)
{
    const QVector<SentenceRecord> lines = {
        Heading(u"1)第一课"_qs),
        Sentence(u"1.好好好你。"_qs),
        Sentence(u"2.你好好。"_qs),
        Heading(u"2)课文"_qs),
        Sentence(u"3.你你你。"_qs),
        Sentence(QStringLiteral("4.OK.")),
        Sentence(u"5.好你。"_qs),
    };
    for (quint32 seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(seed);
        const BlankExerciseText ex = BuildBlankExercise(lines, Seeded(seed));
        QString previous;
        QSet<int> blankedLines;
        for (const BlankRecord& b : ex.Blanks) {
            const QString& original = lines[b.Line - 1].Chinese;
            ASSERT_EQ(lines[b.Line - 1].Source, 1) << "headings are never blanked";
            EXPECT_EQ(b.BlankedLine.size(), original.size() + 1);
            EXPECT_EQ(b.BlankedLine.count(QStringLiteral("__")), 1);
            const int at = int(b.BlankedLine.indexOf(QStringLiteral("__")));
            EXPECT_EQ(b.BlankedLine.left(at) + b.Answer + b.BlankedLine.mid(at + 2), original);
            EXPECT_TRUE(IsChineseCharacter(b.Answer[0]));
            EXPECT_NE(b.Answer, previous);
            EXPECT_EQ(ex.Text.Plain.mid(b.TextPos, 2), QStringLiteral("__"));
            EXPECT_EQ(ex.Text.Plain.mid(b.TextPos - at, b.BlankedLine.size()), b.BlankedLine);
            previous = b.Answer;
            blankedLines.insert(b.Line);
        }
        EXPECT_FALSE(blankedLines.contains(6)) << "a line without Chinese";
        EXPECT_TRUE(ex.Text.Plain.contains(u"1)第一课"_qs));
        EXPECT_TRUE(ex.Text.Plain.contains(u"2)课文"_qs));
    }
}

TEST(BlankRules, EachBlankIsWhereItWasMadeNotWhereItsLineIsFoundFirst)
{
    // Numbering starts again after a heading: "1.你__" of a later line is also found inside
    // the earlier "11.你__好".
    QVector<SentenceRecord> lines;
    lines.append(Sentence(u"11.你吗好"_qs));
    lines.append(Heading(u"2)课文"_qs));
    lines.append(Sentence(u"1.他们"_qs));
    lines.append(Sentence(u"1.你吗"_qs));
    const BlankExerciseText ex = BuildBlankExercise(lines, Script({0.5, 0.0, 0.99}));
    ASSERT_EQ(ex.Blanks.size(), 3);
    EXPECT_EQ(ex.Blanks[0].BlankedLine, u"11.你__好"_qs);
    EXPECT_EQ(ex.Blanks[2].BlankedLine, u"1.你__"_qs);
    EXPECT_LT(ex.Text.Plain.indexOf(ex.Blanks[2].BlankedLine), ex.Blanks[0].TextPos)
        << "searching the text finds the earlier line";
    const int lineStart = ex.Text.ChineseStarts[3];
    EXPECT_GT(lineStart, ex.Blanks[1].TextPos);
    EXPECT_EQ(ex.Text.Plain.mid(lineStart, 5), u"1.你__"_qs);
    EXPECT_EQ(ex.Blanks[2].TextPos, lineStart + 3);
}

TEST(BlankRules, CandidatesAreDealtOnceBelowFiveBlanksAndDrawnFromTheFirstFourAbove)
{
    const QStringList three{u"你"_qs, u"好"_qs, u"吗"_qs};
    EXPECT_EQ(CandidatesFor(three, 1, Script({0.99, 0.0, 0.0})), (QStringList{u"吗"_qs, u"你"_qs, u"好"_qs}));
    EXPECT_FALSE(CandidatesPerBlank(4));
    EXPECT_TRUE(CandidatesPerBlank(5));

    const QStringList six{u"一"_qs, u"二"_qs, u"三"_qs, u"四"_qs, u"五"_qs, u"六"_qs};
    struct Case {
        const char* name;
        int blank;
        QList<double> draws;
        QStringList shown;
    };
    const Case cases[] = {
        {"in the pool: in order of the draws", 2, {0.3, 0.0, 0.6, 0.0}, {u"二"_qs, u"一"_qs, u"四"_qs, u"三"_qs}},
        {"blank 6 is put in", 6, {0.0, 0.0, 0.0, 0.0, 0.5}, {u"一"_qs, u"二"_qs, u"六"_qs, u"四"_qs}},
        {"blank 5 in the last place", 5, {0.99, 0.99, 0.99, 0.0, 0.99}, {u"四"_qs, u"三"_qs, u"二"_qs, u"五"_qs}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CandidatesFor(six, c.blank, Script(c.draws)), c.shown);
    }
    for (quint32 seed = 1; seed <= 50; ++seed) {
        const QStringList shown = CandidatesFor(six, 6, Seeded(seed));
        ASSERT_EQ(shown.size(), 4);
        EXPECT_EQ(shown.count(u"六"_qs), 1);
        for (const QString& c : shown)
            EXPECT_TRUE(c == u"六"_qs || six.mid(0, 4).contains(c)) << c.toStdString();
    }
}

TEST(QuizRate, RoundsTwoDecimalsHalfToEven)
{
    struct Case {
        int right, wrong, rate;
    };
    const Case cases[] = {
        {0, 0, 0}, {2, 1, 67}, {4, 1, 80}, {3, 1, 75}, {1, 2, 33}, {5, 0, 100}, {0, 4, 0},
        {1, 7, 12},    // 12.5 goes down to the even 12
        {3, 5, 38},    // 37.5 goes up to the even 38
        {79, 21, 79}, {1, 199, 0}, {3, 197, 2}, // 0.5 -> 0, 1.5 -> 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.right << "/" << c.wrong);
        EXPECT_EQ(QuizRate(c.right, c.wrong), c.rate);
    }
}

TEST(BlankRules, GradingAndTheResultRows)
{
    QList<BlankRecord> blanks = {
        {u"你"_qs, u"你"_qs, u"1.__好"_qs, 1, 2},
        {u"好"_qs, u"吗"_qs, u"2.你__"_qs, 2, 9},
        {u"吗"_qs, u"吗"_qs, u"3.好__"_qs, 3, 15},
    };
    const BlankGrade twoOfThree = GradeBlanks(blanks);
    EXPECT_EQ(twoOfThree.Right, 2);
    EXPECT_EQ(twoOfThree.Wrong, 1);
    EXPECT_EQ(twoOfThree.Rate, 67);
    EXPECT_EQ(ResultRows(blanks), (QList<ResultRow>{{"1", u"你"_qs, u"Right  正确"_qs},
                                      {"2", u"好"_qs, u"Your answer 吗 is wrong"_qs}, {"3", u"吗"_qs, u"Right  正确"_qs}}));
    blanks[0].UserAnswer.clear();
    EXPECT_EQ(ResultRows(blanks)[0].English, "Your answer  is wrong");
}

TEST(SentenceQuizRules, OptionTexts)
{
    EXPECT_EQ(LetterOptionText(u"12.你好。"_qs, 0), u"A.你好。"_qs);
    EXPECT_EQ(LetterOptionText(u"你好"_qs, 1), u"B.你好"_qs);
    EXPECT_EQ(LetterOptionText(u"1.a.b"_qs, 7), "C.a.b");
    EXPECT_EQ(OptionPrefix(QStringLiteral("Hi."), 2), "C) Hi.");
    EXPECT_EQ(SentenceText(u"3.你好。"_qs), u"你好。"_qs);
    EXPECT_EQ(SentenceText(u"你好"_qs), u"你好"_qs);
}

TEST(SentenceQuizRules, QuestionKindsAndSkippedLines)
{
    const QVector<SentenceRecord> pool = {
        Sentence(u"x"_qs, QStringLiteral("Pool one.")),
        Sentence(u"y"_qs, QStringLiteral("Pool two.")),
    };
    struct Case {
        const char* name;
        SentenceRecord line;
        QList<double> draws; // correct option, kind, then swaps or pool draws
        bool asked;
        bool sound;
        std::array<QString, 3> options;
    };
    const Case cases[] = {
        {"sound: the right one and two swaps", Sentence(u"2.我们好吗"_qs), {0.5, 0.2, 0.0, 0.99}, true, true,
            {u"A.们我好吗"_qs, u"B.我们好吗"_qs, u"C.我们吗好"_qs}},
        {"meaning: the English among two from the pool", Sentence(u"2.我们好吗"_qs, QStringLiteral("How are we?")),
            {0.0, 0.7, 0.99, 0.0}, true, false,
            {QStringLiteral("A) How are we?"), QStringLiteral("B) Pool two."), QStringLiteral("C) Pool one.")}},
        {"sound of a short line: skipped", Sentence(u"3.好吗？"_qs), {0.0, 0.1}, false, true, {}},
        {"meaning of a short line: asked", Sentence(u"3.好吗？"_qs, QStringLiteral("OK?")), {0.0, 0.9, 0.0, 0.0}, true,
            false, {QStringLiteral("A) OK?"), QStringLiteral("B) Pool one."), QStringLiteral("C) Pool one.")}},
        {"a heading by sound", Heading(u"1)我们的课文"_qs), {0.0, 0.1}, false, true, {}},
        {"a heading by meaning", Heading(u"1)我们的课文"_qs), {0.0, 0.9}, false, false, {}},
        {"one character four times: nothing to swap", Sentence(u"4.哈哈哈哈"_qs), {0.0, 0.1}, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QuizQuestion q = MakeQuestion(c.line, pool, Script(c.draws));
        EXPECT_EQ(q.Asked, c.asked);
        EXPECT_EQ(q.Sound, c.sound);
        if (c.asked) {
            EXPECT_EQ(q.Options, c.options);
        }
    }
}

TEST(SentenceQuizRules, SwapsExchangeTwoDifferentChineseCharactersOnly)
{
    const QString right = u"A.我们，好吗？"_qs;
    for (quint32 seed = 1; seed <= 100; ++seed) {
        const std::optional<QString> swapped = SwapTwoCharacters(right, Seeded(seed));
        ASSERT_TRUE(swapped);
        QList<int> changed;
        for (int k = 0; k < right.size(); ++k)
            if ((*swapped)[k] != right[k])
                changed.append(k);
        ASSERT_EQ(changed.size(), 2) << swapped->toStdString();
        EXPECT_EQ((*swapped)[changed[0]], right[changed[1]]);
        EXPECT_TRUE(IsChineseCharacter(right[changed[0]]) && IsChineseCharacter(right[changed[1]]));
    }
    EXPECT_FALSE(SwapTwoCharacters(u"A.好，好！"_qs, Script({0.5})));
}

TEST(QuizRulesBeyondTheBasicPlane, ACharacterOfTwoUnitsIsBlankedAndSwappedWhole)
{
    // 𠮷 (U+20BB7) is one character of two UTF-16 units.
    const QString jiren = u"𠮷人"_qs;
    struct Blank {
        double draw;
        int pos;
        QString answer;
    };
    const Blank blanks[] = {{0.0, 2, u"𠮷"_qs}, {0.5, 4, u"人"_qs}, {0.99, 5, u"好"_qs}};
    const QString line = u"1."_qs + jiren + u"好"_qs;
    for (const Blank& b : blanks) {
        SCOPED_TRACE(b.draw);
        const LineBlank blank = MakeBlank(line, QString(), Script({b.draw}));
        EXPECT_EQ(blank.Pos, b.pos);
        EXPECT_EQ(blank.Answer, b.answer);
        EXPECT_EQ(blank.BlankedLine, line.left(b.pos) + "__" + line.mid(b.pos + b.answer.size()));
    }
    EXPECT_FALSE(MakeBlank(u"2.𠮷"_qs, u"𠮷"_qs, Script({0.5})).Made());

    const QString right = u"A."_qs + jiren + u"好吗"_qs;
    for (quint32 seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        const std::optional<QString> swapped = SwapTwoCharacters(right, Seeded(seed));
        ASSERT_TRUE(swapped);
        QStringList sorted = TextCharacters(*swapped);
        QStringList original = TextCharacters(right);
        sorted.sort();
        original.sort();
        EXPECT_EQ(sorted, original) << "the same characters, none split";
    }
    EXPECT_EQ(MarkSwapped(u"A.人𠮷好吗"_qs, right), u"A.[人][𠮷]好吗"_qs);
    // Three characters, four units: too short to be asked by sound.
    EXPECT_FALSE(MakeQuestion(Sentence(u"2."_qs + jiren + u"好"_qs), {}, Script({0.0, 0.1})).Asked);
}

TEST(SentenceQuizRules, PoolSentencesAreNeverTheAnswerAndTheDrawIsBounded)
{
    const QVector<SentenceRecord> pool = {
        Sentence(u"x"_qs, QStringLiteral("Hello.")),
        Sentence(u"y"_qs, QStringLiteral("<<Topic>>")),
        Sentence(u"z"_qs, QStringLiteral("Bye. ")),
    };
    for (double d : {0.0, 0.5, 0.99}) {
        SCOPED_TRACE(d);
        EXPECT_EQ(RandomPoolSentence(pool, QStringLiteral("Bye."), Script({d})), "Hello.");
    }
    EXPECT_EQ(RandomPoolSentence(pool, QStringLiteral("Hi."), Script({0.99})), "Bye. ");
    EXPECT_EQ(RandomPoolSentence({}, QStringLiteral("Hi."), Script({})), QString()) << "an empty table, no draw";
    const QVector<SentenceRecord> onlyTheAnswer = {Sentence(u"x"_qs, QStringLiteral("Hello."))};
    EXPECT_EQ(RandomPoolSentence(onlyTheAnswer, QStringLiteral("Hello."), Script({})), QString());
}

TEST(SentenceQuizRules, TheCorrectionMarksTheSwappedCharactersAndTheRightOneInRed)
{
    EXPECT_EQ(MarkSwapped(u"A.们我好吗"_qs, u"B.我们好吗"_qs), u"A.[们][我]好吗"_qs);
    EXPECT_EQ(MarkSwapped(u"C.吗们好我"_qs, u"B.我们好吗"_qs), u"C.[吗]们好[我]"_qs);

    const SentenceRecord line = Sentence(u"2.我们好吗"_qs, QStringLiteral("Are we well?"));
    QuizQuestion q;
    q.Asked = q.Sound = true;
    q.Correct = 1;
    q.Options = {u"A.们我好吗"_qs, u"B.我们好吗"_qs, u"C.吗们好我"_qs};
    const QStringList rtf = CorrectionRtf(line, q);
    EXPECT_EQ(Plain(rtf), QString(16, ' ') + "The red one is the correct answer.\n" + QString(10, ' ') + u"nǐ hǎo \n"_qs
            + u" A.[们][我]好吗\n B.我们好吗\n C.[吗]们好[我]\n"_qs + QString(13, ' ') + "Are we well?\n");
    const RtfContent red = Rtf::Read(rtf[3]);
    ASSERT_FALSE(red.pieces.isEmpty());
    EXPECT_EQ(red.pieces[0].format.color, QColor(255, 0, 0));
    EXPECT_EQ(Rtf::Read(rtf[2]).pieces[0].format.color, QColor(0, 0, 255));

    q.Sound = false;
    q.Correct = 2;
    q.Options = {QStringLiteral("A) x"), QStringLiteral("B) y"), QStringLiteral("C) Are we well?")};
    EXPECT_EQ(Plain(CorrectionRtf(line, q)), QString(7, ' ') + "The red one is the correct answer.\n" + QString(4, ' ')
            + u"nǐ hǎo \n 我们好吗\n     A) x\n     B) y\n     C) Are we well?\n"_qs);
    EXPECT_EQ(Rtf::Read(CorrectionRtf(line, q)[5]).pieces[0].format.color, QColor(255, 0, 0));
}

TEST(SentenceQuizRules, TheQuestionTextsOfBothKinds)
{
    const SentenceRecord line = Sentence(u"2.我们好吗"_qs, QStringLiteral("Are we well?"));
    QuizQuestion q;
    q.Asked = q.Sound = true;
    q.Options = {u"A.我们好吗"_qs, u"B.们我好吗"_qs, u"C.我们吗好"_qs};
    EXPECT_EQ(Plain(QuestionRtf(line, q)), QString(5, ' ')
            + "Which Chinese sentence matches the sound that you are listening to?\n"
            + u" A.我们好吗\n B.们我好吗\n C.我们吗好\n"_qs + QString(13, ' ') + "Are we well?\n"
            + QString(9, '\n') + QString(9, ' ') + u"nǐ hǎo \n"_qs);
    q.Sound = false;
    q.Options = {QStringLiteral("A) x"), QStringLiteral("B) Are we well?"), QStringLiteral("C) y")};
    EXPECT_EQ(Plain(QuestionRtf(line, q)), QString(7, ' ')
            + "Which English sentence matches the meaning of the Chinese sentence?\n" + QString(4, ' ')
            + u"nǐ hǎo \n 我们好吗\n     A) x\n     B) Are we well?\n     C) y"_qs);
}
