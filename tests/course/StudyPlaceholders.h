#pragma once
// The least task window a launcher can open: its lesson label and a "Close" button on the task
// protocol. The course panel's tests open it in place of the real study windows to see what a
// task window's load sees.

#include "Form.h"
#include "LessonTaskWindow.h"

class QLabel;
class QPushButton;

class StudyTaskPlaceholder : public LessonTaskWindow {
    Q_OBJECT
public:
    StudyTaskPlaceholder(const QString& formName, double width, double height, const QString& labelName);
    void SetLessonLabel(const QString& text) override;
    void UseImage1Background() override;

private:
    QLabel* m_lessonLabel{nullptr};
    QLabel* Image1{nullptr};
    QPushButton* Command1{nullptr};
};
