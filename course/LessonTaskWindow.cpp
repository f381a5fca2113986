#include "LessonTaskWindow.h"

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "Begin1.h"
#include "Dictionary.h"
#include "FormEvents.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "WavePlayer.h"

LessonTaskWindow::LessonTaskWindow(const QString& formName)
    : Form(formName)
{
    SetKeyPreview(true);
}

LessonTaskWindow::~LessonTaskWindow() = default;

void LessonTaskWindow::Form_Load()
{
    m_protocol = std::make_unique<LessonTaskProtocol>(State().CurrentActivity, [this] { Unload(); });
    Task_Load();
    m_protocol->Load();
}

void LessonTaskWindow::Form_QueryUnload(bool& cancel)
{
    if (!m_protocol->MayClose(WorkRemains()))
        cancel = true;
}

void LessonTaskWindow::Form_Unload()
{
    Task_Unload();
    HandBack(m_protocol->Unloading());
}

void LessonTaskWindow::HandBack(const QList<HandBackStep>& steps)
{
    for (const HandBackStep& step : steps) {
        switch (step.What) {
        case HandBackStep::CloseSharedPlayer:
            MMControl1()->Close();
            break;
        case HandBackStep::HideDictionary:
            if (Dictionary* dictionary = Forms::Find<Dictionary>())
                dictionary->Hide();
            break;
        case HandBackStep::UnloadCompanion:
            Forms::Unload(StudyWindowName(step.Window));
            break;
        case HandBackStep::ClearQuizOpen:
            State().QuizOpen = 0;
            break;
        case HandBackStep::ClearVocabularyTestOpen:
            State().VocabularyTestOpen = 0;
            break;
        case HandBackStep::ShowStartMenu:
            if (Begin* menu = Forms::Find<Begin>())
                menu->Show();
            break;
        case HandBackStep::ShowCoursePanel:
            // The panel takes the activation back even where no row gets the focus: otherwise
            // the window manager hands it to the full-screen main window, where Esc and F4
            // reach nobody.
            if (Begin1* panel = Forms::Find<Begin1>()) {
                panel->Show();
                FormEvents::Activate(panel);
            }
            break;
        case HandBackStep::FocusPanelButton:
            if (Begin1* panel = Forms::Find<Begin1>())
                panel->FocusStepButton(step.Button);
            break;
        case HandBackStep::ActivityToCoursePanel:
            State().CurrentActivity = 0;
            break;
        }
    }
}

void LessonTaskWindow::Form_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    Background::MinimiseOnF4(keyCode);
}

void LessonTaskWindow::Form_KeyUp(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode == Keys::Escape)
        Unload();
}
