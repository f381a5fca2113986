#include "LessonTaskProtocol.h"

#include "AppState.h"
#include "MsgBox.h"
#include "StudyProgress.h"

namespace {
const QString kAdvice = QStringLiteral("Advice");

struct PassRules {
    double Mark;
    QString GoOn;
    MsgBox::Buttons GoOnButtons;
    QString Fail;
};

// The pass mark and the texts of the graded steps; the texts are as each window always had them.
PassRules RulesFor(qint16 step)
{
    const QString goOn = QStringLiteral("You have finished this task. Let's go on to do the next task.");
    switch (step) {
    case 2:
        return {80, goOn, MsgBox::OkCancel,
            QStringLiteral("Your correctness rate hasn't reached 80%. Do the task again, please.")};
    case 3:
        return {50, goOn, MsgBox::OkCancel,
            QStringLiteral("Your correctness rate hasn't reached 50%. Do the task again, please.")};
    case 4:
        return {80, QStringLiteral("You have finished this task. Let's  go on to do the next task."), MsgBox::OkCancel,
            QStringLiteral("Your correctness rate hasn't reached 80%. Do the task again, please")};
    default:
        return {80, goOn, MsgBox::OkOnly,
            QStringLiteral("Your correctness rate hasn't reached 80%. Do the task again, please")};
    }
}

bool PlaysThroughSharedPlayer(qint16 step) { return step != 4; }
} // namespace

LessonTaskProtocol::LessonTaskProtocol(qint16 step, std::function<void()> closeWindow)
    : m_step(step)
    , m_closeWindow(std::move(closeWindow))
    , m_closeTimer(nullptr, kCloseDelayMs, false)
{
    QObject::connect(&m_closeTimer, &Timer::Tick, [this] { CloseTimer_Tick(); });
}

bool LessonTaskProtocol::IsFrontier() const
{
    const AppState& s = State();
    return s.ViewedLesson == s.CurrentLesson && m_step == s.CurrentStep;
}

void LessonTaskProtocol::Load() { m_finished = !IsFrontier(); }

void LessonTaskProtocol::Record()
{
    if (m_recorded)
        return;
    m_recorded = true;
    CompleteLessonStep();
}

LessonTaskProtocol::Outcome LessonTaskProtocol::Graded(double rate)
{
    if (!IsFrontier())
        return Outcome::NotFrontier;
    const PassRules rules = RulesFor(m_step);
    if (rate < rules.Mark) {
        MsgBox::Show(rules.Fail, MsgBox::OkOnly, MsgBox::Information, kAdvice);
        return Outcome::Failed;
    }
    m_finished = true;
    Record();
    const MsgBox::Result answer = MsgBox::Show(rules.GoOn, rules.GoOnButtons, MsgBox::Information, kAdvice);
    if (answer != MsgBox::Ok)
        return Outcome::StaysOpen;
    StartClose();
    return Outcome::Closing;
}

void LessonTaskProtocol::NoNewCharacters()
{
    NothingToAsk(QStringLiteral("There is no new Chinese characters in this lesson."));
}

void LessonTaskProtocol::NoNewWords() { NothingToAsk(QStringLiteral("There is no new vocabulary in this lesson.")); }

void LessonTaskProtocol::NothingToAsk(const QString& notice)
{
    MsgBox::Notice(notice);
    m_finished = true;
    if (IsFrontier())
        Record();
    StartClose();
}

void LessonTaskProtocol::ReadingFinished()
{
    m_finished = true;
    if (IsFrontier()) {
        Record();
        MsgBox::Show(QStringLiteral("You have finished studying lesson %1").arg(State().ViewedLesson), MsgBox::OkOnly,
            MsgBox::Information, kAdvice);
    }
    StartClose();
}

void LessonTaskProtocol::StartClose() { m_closeTimer.SetEnabled(true); }

void LessonTaskProtocol::CloseTimer_Tick()
{
    m_closeTimer.SetEnabled(false);
    if (m_closeWindow)
        m_closeWindow();
}

bool LessonTaskProtocol::MayClose(bool workRemains)
{
    const QString unfinished = QStringLiteral(
        "You haven't finished the task yet. Let's finish it now, otherwise you are unable to do the next task.");
    bool ask = false;
    QString text = unfinished;
    switch (m_step) {
    case 2:
    case 3:
        ask = !m_finished;
        break;
    case 4:
        if (!m_finished && !workRemains) {
            // Every blank answered but the mark missed: nothing to finish, only to do again.
            MsgBox::Notice(QStringLiteral("Please do this task again."));
            return true;
        }
        ask = !m_finished;
        break;
    case 5:
        ask = !m_finished && workRemains;
        break;
    case 6:
        ask = !m_finished && IsFrontier();
        text = QStringLiteral("You haven't finished the task yet.\r\nLet's finish it now, otherwise you are unable to do the next lesson.");
        break;
    default:
        break;
    }
    if (!ask)
        return true;
    return MsgBox::Show(text, MsgBox::OkCancel, MsgBox::Information, kAdvice) != MsgBox::Ok;
}

QList<HandBackStep> LessonTaskProtocol::Unloading()
{
    m_closeTimer.SetEnabled(false);
    if (m_step == 1 && IsFrontier())
        Record();
    const AppState& s = State();
    return HandBackSteps(m_step, s.ViewedLesson, s.CurrentLesson, s.CurrentStep);
}

QList<HandBackStep> HandBackSteps(qint16 step, qint16 viewedLesson, qint16 currentLesson, qint16 currentStep)
{
    QList<HandBackStep> steps;
    if (PlaysThroughSharedPlayer(step))
        steps.append(HandBackStep{HandBackStep::CloseSharedPlayer});
    steps.append(HandBackStep{HandBackStep::HideDictionary});
    if (const StudyLauncher* launcher = LauncherForCode(step))
        for (StudyWindow w : launcher->Companions)
            steps.append(HandBackStep{HandBackStep::UnloadCompanion, w});
    if (step == 4 || step == 5)
        steps.append(HandBackStep{HandBackStep::ClearQuizOpen});
    if (step == 3)
        steps.append(HandBackStep{HandBackStep::ClearVocabularyTestOpen});
    steps.append(HandBackStep{HandBackStep::ShowStartMenu});
    steps.append(HandBackStep{HandBackStep::ShowCoursePanel});
    if (step >= 1 && step <= 5 && viewedLesson == currentLesson)
        steps.append(HandBackStep{HandBackStep::FocusPanelButton, StudyWindow::Dictionary, currentStep - 1});
    else if (step == 6 && viewedLesson == currentLesson - 1 && currentStep == 1)
        steps.append(HandBackStep{HandBackStep::FocusPanelButton, StudyWindow::Dictionary, 7});
    steps.append(HandBackStep{HandBackStep::ActivityToCoursePanel});
    return steps;
}
