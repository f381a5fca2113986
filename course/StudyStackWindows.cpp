#include "StudyStackWindows.h"

#include "AppState.h"
#include "Background.h"
#include "Dictionary.h"
#include "FormEvents.h"
#include "Forms.h"
#include "LessonTaskWindow.h"
#include "Twips.h"

namespace {
Form* Loaded(StudyWindow window) { return Forms::Find(StudyWindowName(window)); }

QList<StudyWindow> StackWindows(const StudyLauncher& launcher)
{
    return launcher.Above + QList<StudyWindow>{launcher.Task} + launcher.Below;
}
} // namespace

bool PlaceStudyStackWindows(const StudyLauncher& launcher)
{
    Form* task = Loaded(launcher.Task);
    if (!task)
        return false;
    // Each window at its own size with its frame, whatever the learner did to it in an earlier
    // stack; the dictionary grows from there into the room this screen leaves.
    QMap<StudyWindow, StackWindowSize> sizes;
    for (StudyWindow w : StackWindows(launcher))
        if (const Form* f = Loaded(w)) {
            const StackOuterSize outer = OuterSizeInStack(StackShapeOf(*f));
            sizes.insert(w, {outer.Width, outer.Height});
        }
    Dictionary* dictionary = Forms::Find<Dictionary>();
    if (dictionary && sizes.contains(StudyWindow::Dictionary))
        sizes[StudyWindow::Dictionary].Growth = static_cast<float>(Dictionary::MostGrowth);
    const auto places = PlaceStudyStack(launcher, sizes, static_cast<float>(Twips::ScreenWidth()),
        static_cast<float>(Twips::ScreenHeight()), static_cast<float>(Twips::PerPixelY()),
        static_cast<float>(Twips::WorkAreaTop()), static_cast<float>(Twips::WorkAreaHeight()));
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        Form* f = Loaded(it.key());
        if (!f)
            continue;
        const StackWindowSize size = sizes.value(it.key());
        if (it.key() == StudyWindow::Dictionary && dictionary)
            dictionary->Growth.SetExtra(it->Height - size.Height);
        else
            f->TakeOwnShape();
        if (it->Width != size.Width)
            SetStackWidth(*f, size.Width, it->Width);
        f->Move(it->Left, it->Top);
    }
    return true;
}

LessonTaskWindow* OpenStudyStackWindows(const StudyLauncher& launcher)
{
    AppState& s = State();
    // The task window's load compares CurrentActivity with CurrentStep.
    s.CurrentActivity = launcher.Code;
    if (launcher.ClearsQuizOpen)
        s.QuizOpen = 0;
    // The companions load first: a task window fills them from its own load (the typing task
    // lists the first asked character's expressions there), which would find none loaded yet.
    for (StudyWindow w : launcher.Companions)
        Forms::Load(StudyWindowName(w));
    auto* task = qobject_cast<LessonTaskWindow*>(Forms::Load(StudyWindowName(launcher.Task)));
    if (!task) {
        for (StudyWindow w : launcher.Companions)
            Forms::Unload(StudyWindowName(w));
        return nullptr;
    }
    const QString label = LessonLabel(s.ViewedLesson);
    if (launcher.LabelEarly)
        task->SetLessonLabel(label);
    if (!launcher.LabelEarly)
        task->SetLessonLabel(label);
    if (launcher.Image1Background)
        task->UseImage1Background();

    PlaceStudyStackWindows(launcher);
    Background* owner = Forms::Find<Background>();
    task->Show(Form::Modeless, owner);
    for (StudyWindow w : launcher.ShownAfter)
        if (Form* f = Loaded(w))
            f->Show(Form::Modeless, owner);
    // Shown windows may have frames now: their outer sizes decide the places.
    PlaceStudyStackWindows(launcher);
    FormEvents::GiveFocus(task);
    return task;
}
