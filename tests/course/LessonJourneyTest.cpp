// A learner's whole first lesson, end to end on the test clock: the course tables loaded from
// the data tree the build laid out, the course panel, and each of the six steps opened from its
// row and answered through its window's controls, until the progress record says lesson 2,
// step 1.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "Begin1.h"
#include "BlankTrim.h"
#include "Clock.h"
#include "CourseForms.h"
#include "Dictionary.h"
#include "Exercise3.h"
#include "FindSentence.h"
#include "FormCalls.h"
#include "LessonTaskWindow.h"
#include "ListView.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "TablesTestSupport.h"
#include "TestSupport.h"
#include "Twips.h"
#include "TypingRules.h"
#include "VocabularyRules.h"
#include "Zoom.h"

namespace {

class MenuStandIn : public Begin {
    Q_OBJECT
protected:
    void Form_Load() override {}
};
class MainStandIn : public Background {
    Q_OBJECT
protected:
    void Form_Load() override {}
};

QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson), 0, static_cast<char>(step), 0};
    return QByteArray(b, 4);
}

class LessonJourney : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const QString tree = qEnvironmentVariable("VELMORA_TREE");
        ASSERT_TRUE(QDir(tree).exists(QStringLiteral("Lessons"))) << "VELMORA_TREE: the built data tree";
        for (const char* folder : {"Lessons", "Vocabulary", "Characters", "Phonetic Symbols", "Sound", "Spoken"})
            QFile::link(tree + QLatin1Char('/') + QLatin1String(folder), Path(QLatin1String(folder)));
        ProgressRecorder progress;
        LoadCourseTables(progress);
        ASSERT_GT(State().CharacterCount, 0);

        Twips::OverrideScreen(QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1000));
        Random::Seed(20);
        RegisterCourseForms();
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new MenuStandIn; });
        Forms::RegisterFactory(QStringLiteral("Background"), [] { return new MainStandIn; });
        Forms::RegisterFactory<Dictionary>();
        Forms::RegisterFactory<Zoom>();
        Form* main = Forms::Load(QStringLiteral("Background"));
        m_menu = Forms::Load(QStringLiteral("Begin"));
        Forms::Load<Dictionary>();
        Forms::Load<Zoom>();
        SetUpSharedPlayers();
        m_menu->Show(Form::Modeless, main);
        Forms::Load<Begin1>()->Show(Form::Modeless, m_menu);
        State().CurrentActivity = 0;
    }
    void TearDown() override
    {
        m_boxes->Answer(MsgBox::Cancel);
        Forms::UnloadAll();
        CloseSharedPlayers();
        Twips::ClearScreenOverride();
        AppFixture::TearDown();
    }

    void OpenRow(int k)
    {
        auto* row = Forms::Control<QPushButton>(QStringLiteral("Begin1"), Forms::IndexedName("Command1", k));
        ASSERT_NE(row, nullptr);
        ASSERT_TRUE(row->isEnabled()) << "row " << k;
        row->click();
    }
    // Moves the clock on until form has closed (at most limitMs).
    void WaitClosed(const char* form, int limitMs = 5000)
    {
        for (int t = 0; t < limitMs && Forms::IsLoaded(QLatin1String(form)); t += 100)
            Clock::Advance(100);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(Forms::IsLoaded(QLatin1String(form)));
    }
    // Answers while form is open: answer() gives one answer and returns false when it cannot.
    void AnswerUntilClosed(const char* form, const std::function<bool()>& answer, int limit = 200)
    {
        for (int i = 0; i < limit && Forms::IsLoaded(QLatin1String(form)); ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            auto* task = qobject_cast<LessonTaskWindow*>(Forms::Find(QLatin1String(form)));
            if (!task || task->IsUnloading() || task->Protocol().CloseStarted())
                break; // done: closing in 500 ms
            ASSERT_TRUE(answer()) << form << ": no answer at question " << i + 1;
        }
        WaitClosed(form);
    }
    QByteArray Study() const { return ReadFile("Record/Study.vmq"); }

    // Step 2: types the asked character's syllable and picks it among the candidates.
    bool TypeAsked()
    {
        Form* typing = Forms::Find(QStringLiteral("Typing"));
        const QString asked = Forms::Control<QLabel>(QStringLiteral("Typing"), QStringLiteral("Label1"))->text();
        QString letters;
        for (const AskedCharacter& a : LessonCharacters())
            if (a.Character == asked)
                for (QChar c : a.Syllable)
                    if (c.isLetter())
                        letters += c;
        letters = letters.left(PinyinInput::MaxLetters);
        const QVector<TypingCandidate> candidates =
            FindTypingCandidates(letters, State().CharacterTable, State().CharacterCount);
        int at = -1;
        for (int i = 0; i < candidates.size() && at < 0; ++i)
            if (candidates[i].Character == asked)
                at = i;
        if (letters.isEmpty() || at < 0)
            return false;
        for (QChar c : letters)
            QTest::keyClick(typing, Qt::Key(Qt::Key_A + (c.unicode() - 'a')));
        for (int page = 0; page < at / PinyinInput::PageSize; ++page)
            QTest::keyClick(typing, Qt::Key_Equal);
        QTest::keyClick(typing, Qt::Key(Qt::Key_1 + at % PinyinInput::PageSize));
        Clock::Advance(3600); // the verdict blinks, then the next character comes
        return true;
    }
    // Step 3: clicks the option that is a meaning of the asked word.
    bool PickMeaning()
    {
        const QString word = Forms::Control<QLabel>(QStringLiteral("Vocabulary"), QStringLiteral("Label1"))->text();
        const AppState& s = State();
        const int w = int(s.LessonWords[0].indexOf(word));
        if (w < 0)
            return false;
        const QStringList meanings = WordMeanings(s.LessonWords[1][w]);
        for (int k = 0; k < 8; ++k) {
            auto* option = Forms::Control<QLabel>(QStringLiteral("Vocabulary"), Forms::IndexedName("Label2", k));
            if (option && !option->isHidden() && meanings.contains(BlankTrim(option->text()))) {
                QTest::mouseClick(option, Qt::LeftButton);
                Clock::Advance(int(meanings.size()) * 2000);
                return true;
            }
        }
        return false;
    }
    // Step 4: clicks the candidate that is the current blank's answer.
    static bool FillBlank()
    {
        Exercise3* ex = Forms::Find<Exercise3>();
        for (const BlankRecord& b : ex->Blanks()) {
            if (!b.UserAnswer.isEmpty())
                continue;
            for (int k = 1; k <= 4; ++k) {
                auto* label = Forms::Control<QLabel>(QStringLiteral("Exercise3"), Forms::IndexedName("Label1", k));
                if (label->text() == b.Answer) {
                    QTest::mouseClick(label, Qt::LeftButton);
                    return true;
                }
            }
            return false;
        }
        return false;
    }
    // Step 5: clicks the right option.
    static bool FindRight()
    {
        FindSentence* quiz = Forms::Find<FindSentence>();
        auto* option = Forms::Control<QPushButton>(QStringLiteral("FindSentence"),
            Forms::IndexedName("Command2", quiz->CorrectOption()));
        if (!option->isEnabled())
            return false;
        option->click();
        return true;
    }

    Form* m_menu{nullptr};
};

} // namespace

TEST_F(LessonJourney, LessonOneFromItsFirstStepToLessonTwo)
{
    EXPECT_EQ(State().ViewedLesson, 1);
    EXPECT_EQ(State().LessonLineCount, 11); // a heading and ten sentences
    EXPECT_FALSE(QFile::exists(Path("Record/Study.vmq")));

    OpenRow(0); // text study: done by closing it
    Forms::Control<QPushButton>(QStringLiteral("Text"), QStringLiteral("Command1"))->click();
    WaitClosed("Text");
    EXPECT_EQ(Study(), StudyBytes(1, 2));

    OpenRow(1); // pinyin typing: the related expressions list the first character asked too
    const auto* related = Forms::Control<ListView>(QStringLiteral("Expressions_Related"), QStringLiteral("ListView1"));
    ASSERT_NE(related, nullptr);
    ASSERT_GT(related->ItemCount(), 0);
    EXPECT_TRUE(related->SubItem(1, 1).contains(Forms::Control<QLabel>(QStringLiteral("Typing"), QStringLiteral("Label1"))->text()));
    Forms::Find<Dictionary>()->close(); // the learner closes the dictionary by its close box
    AnswerUntilClosed("Typing", [this] { return TypeAsked(); });
    EXPECT_EQ(Study(), StudyBytes(1, 3));

    OpenRow(2); // vocabulary test: the dictionary stands above it again and looks each word up
    Forms::Control<QPushButton>(QStringLiteral("Vocabulary"), QStringLiteral("Command2"))->click();
    const Dictionary* dictionary = Forms::Find<Dictionary>();
    ASSERT_NE(dictionary, nullptr);
    EXPECT_TRUE(dictionary->isVisible());
    const int hit = dictionary->ListView1->SelectedItem();
    ASSERT_GT(hit, 0);
    EXPECT_EQ(dictionary->ListView1->SubItem(hit, 1),
        Forms::Control<QLabel>(QStringLiteral("Vocabulary"), QStringLiteral("Label1"))->text());
    AnswerUntilClosed("Vocabulary", [this] { return PickMeaning(); });
    EXPECT_EQ(Study(), StudyBytes(1, 4));

    OpenRow(3); // fill in the blanks
    AnswerUntilClosed("Exercise3", [] { return FillBlank(); });
    EXPECT_EQ(Study(), StudyBytes(1, 5));

    OpenRow(4); // sentence finding
    Clock::Advance(2000);
    AnswerUntilClosed("FindSentence", [] { return FindRight(); });
    EXPECT_EQ(Study(), StudyBytes(1, 6));

    OpenRow(5); // reading aloud after the teacher, to the end of the text
    Forms::Control<QPushButton>(QStringLiteral("Text"), QStringLiteral("Command2"))->click();
    WaitClosed("Text", 20 * 60 * 1000);
    EXPECT_EQ(Study(), StudyBytes(2, 1));
    EXPECT_EQ(State().CurrentLesson, 2);
    EXPECT_EQ(State().CurrentStep, 1);

    const QString goOn = QStringLiteral("You have finished this task. Let's go on to do the next task.");
    EXPECT_EQ(m_boxes->Texts(),
        (QStringList{goOn, goOn, QStringLiteral("You have finished this task. Let's  go on to do the next task."), goOn,
            QStringLiteral("You have finished studying lesson 1")}));
}

#include "LessonJourneyTest.moc"
