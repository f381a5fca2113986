#pragma once
// Stand-ins for the study windows that are not built yet: each row of the course panel opens
// the least window its launcher needs, so the stacks, the protocol and the hand-back already
// run. A task stand-in shows its lesson label and a "Close" button; a companion is an empty
// window of its size. A built window replaces its stand-in's registration.

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

class StudyCompanionPlaceholder : public Form {
    Q_OBJECT
public:
    StudyCompanionPlaceholder(const QString& formName, double width, double height);
};

// Registers a stand-in for every study window that has no form of its own yet.
void RegisterStudyPlaceholders();
