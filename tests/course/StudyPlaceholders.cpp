#include "StudyPlaceholders.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "ControlKit.h"
#include "Forms.h"

StudyTaskPlaceholder::StudyTaskPlaceholder(const QString& formName, double width, double height, const QString& labelName)
    : LessonTaskWindow(formName)
{
    SetCaption(formName);
    SetSize(width, height);
    m_lessonLabel = Kit::Label(this, labelName, {240, 240, 3000, 300}, QStringLiteral("Lesson 1"));
    Image1 = Kit::Picture(this, QStringLiteral("Image1"), {0, 0, 15, 15});
    Image1->hide();
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {width - 1500, height - 700, 1200, 400}, QStringLiteral("Close"));
    connect(Command1, &QPushButton::clicked, this, &Form::Unload);
}

void StudyTaskPlaceholder::SetLessonLabel(const QString& text) { m_lessonLabel->setText(text); }

void StudyTaskPlaceholder::UseImage1Background()
{
    QPalette p = palette();
    p.setBrush(QPalette::Window, Image1->pixmap());
    setPalette(p);
    setAutoFillBackground(true);
}
