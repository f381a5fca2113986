#pragma once
// What every lesson task window does about the learner's progress, without the window:
// whether it was opened as the learner's next step (the frontier), its finished flag, the one
// call of CompleteLessonStep when the task is done there, the go-on and fail messages, the
// 500 ms close, the warning before an unfinished frontier task closes, and the hand-back to
// the course panel when it closes. The task windows' base class owns one and performs the
// hand-back steps; each window says when its task is done.
//
// Steps: 1 text study, 2 typing, 3 vocabulary test, 4 fill-in exercise, 5 sentence finding,
// 6 reading aloud (the text window again), 8 the new-words review (no progress of its own).

#include <QList>
#include <QString>
#include <functional>

#include "StudyStacks.h"
#include "Timer.h"

// One thing the closing window does to hand the screen back, in the order given.
struct HandBackStep {
    enum Kind {
        CloseSharedPlayer,       // the main window's player gets "Close"
        HideDictionary,
        UnloadCompanion,         // Window
        ClearQuizOpen,
        ClearVocabularyTestOpen,
        ShowStartMenu,
        ShowCoursePanel,
        FocusPanelButton,        // Button: the course panel's Command1 element (failure ignored)
        ActivityToCoursePanel,   // CurrentActivity := 0
    };
    Kind What;
    StudyWindow Window{StudyWindow::Dictionary};
    int Button{-1};
    bool operator==(const HandBackStep&) const = default;
};

class LessonTaskProtocol {
public:
    // step: the CurrentActivity code the launcher set; closeWindow unloads the window when the
    // close timer fires.
    LessonTaskProtocol(qint16 step, std::function<void()> closeWindow);
    LessonTaskProtocol(const LessonTaskProtocol&) = delete;
    LessonTaskProtocol& operator=(const LessonTaskProtocol&) = delete;

    qint16 Step() const { return m_step; }

    // The viewed lesson is the learner's and this step is the learner's next: tested at load and
    // again whenever it decides something, since the frontier may have moved.
    bool IsFrontier() const;

    // Called at the end of the window's load: only a frontier task starts unfinished.
    void Load();
    bool TaskFinished() const { return m_finished; }
    void SetTaskFinished(bool finished) { m_finished = finished; }
    bool Recorded() const { return m_recorded; }

    enum class Outcome {
        Closing,     // passed at the frontier; the window closes in 500 ms
        StaysOpen,   // passed at the frontier; the learner chose Cancel on the go-on message
        Failed,      // below the pass mark at the frontier; the fail message was shown
        NotFrontier, // nothing recorded or shown; the window's own rules say what follows
    };
    // Steps 2 to 5: a run ended with this correctness rate (0..100).
    Outcome Graded(double rate);
    // Step 2 when the lesson has no new characters: the notice, the step recorded at the
    // frontier, and the window closes in 500 ms in any case.
    void NoNewCharacters();
    // Step 3 when the lesson has no new words: the same, with its own notice.
    void NoNewWords();
    // A task without anything to ask (a lesson without sentence lines in the quizzes): the
    // notice, the step recorded at the frontier, and the window closes in 500 ms in any case.
    void NothingToAsk(const QString& notice);
    // Step 6: the reading reached the end of the text; recorded and congratulated at the
    // frontier, and the window closes in 500 ms in any case.
    void ReadingFinished();

    // Starts the 500 ms close (a window whose own rules close it after a run).
    void StartClose();
    bool CloseStarted() const { return m_closeTimer.Enabled(); }

    // Asked before the window unloads: shows the warning for an unfinished task where one
    // applies and returns false when the learner chose to stay (OK). workRemains: the fill-in
    // exercise has blanks left, the sentence quiz questions left (other steps ignore it).
    bool MayClose(bool workRemains = true);

    // The window unloads: a frontier text study is recorded now (closing it is doing it), then
    // the hand-back steps are returned for the window to perform in order.
    QList<HandBackStep> Unloading();

    static constexpr int kCloseDelayMs = 500;

private:
    void Record();
    void CloseTimer_Tick();

    qint16 m_step;
    std::function<void()> m_closeWindow;
    bool m_finished{true};
    bool m_recorded{false};
    Timer m_closeTimer;
};

// The hand-back of a closing window of this step for the progress as it stands now.
QList<HandBackStep> HandBackSteps(qint16 step, qint16 viewedLesson, qint16 currentLesson, qint16 currentStep);
