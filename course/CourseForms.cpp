#include "CourseForms.h"

#include "Begin1.h"
#include "Expressions_Related.h"
#include "Forms.h"
#include "Newwords.h"
#include "Notepad.h"
#include "StudyPlaceholders.h"
#include "Typing.h"
#include "Vocabulary.h"
#include "Text.h"
#include "WordsPanel.h"

void RegisterCourseForms()
{
    Forms::RegisterFactory<Begin1>();
    Forms::RegisterFactory<Text>();
    Forms::RegisterFactory<WordsPanel>();
    Forms::RegisterFactory<Notepad>();
    Forms::RegisterFactory<Expressions_Related>();
    Forms::RegisterFactory<Newwords>();
    RegisterStudyPlaceholders();
    Forms::RegisterFactory<Typing>();
    Forms::RegisterFactory<Vocabulary>();
}
