#pragma once
// The least task window a launcher can open: its lesson label and a "Close" button on the task
// protocol. Every study window has its own form now; the course panel's tests open this one in
// their place to see what a task window's load sees.

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
