#pragma once
// The base of the lesson task windows (Text, Typing, Vocabulary, Exercise3, FindSentence and
// the new-words review Newwords). It runs the lesson task protocol around the window's own
// load and unload: the frontier test after Task_Load, the warning before an unfinished task
// closes, a frontier text study recorded as it closes, and the hand-back to the course panel
// after Task_Unload (player closed, Dictionary hidden, companions unloaded, flags reset,
// menus shown, the course panel's button focused, CurrentActivity 0).
//
// Who calls whom: the course panel's launchers load the window (with CurrentActivity already
// set to its step), give it the lesson label and, for reading aloud, the Image1 background;
// the window tells Protocol() when its task is done; the protocol's close timer unloads it.

#include <memory>

#include "Form.h"
#include "LessonTaskProtocol.h"

class LessonTaskWindow : public Form {
    Q_OBJECT
public:
    explicit LessonTaskWindow(const QString& formName);
    ~LessonTaskWindow() override;

    // "Lesson " + the viewed lesson, into the window's lesson label.
    virtual void SetLessonLabel(const QString& text) = 0;
    // Reading aloud: the window's background becomes the picture of its Image1.
    virtual void UseImage1Background() {}

    // The protocol of this opening (made at load with the step the launcher set).
    LessonTaskProtocol& Protocol() { return *m_protocol; }

protected:
    // The window's own load and unload.
    virtual void Task_Load() {}
    virtual void Task_Unload() {}
    // The fill-in exercise: blanks left; the sentence quiz: questions left.
    virtual bool WorkRemains() const { return true; }

    void Form_Load() final;
    void Form_QueryUnload(bool& cancel) override;
    void Form_Unload() final;
    // F4 minimises the whole program; Esc closes the window (with the protocol's warning).
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyUp(int& keyCode, int shift) override;

private:
    void HandBack(const QList<HandBackStep>& steps);

    std::unique_ptr<LessonTaskProtocol> m_protocol;
};
