#include "CourseForms.h"

#include "Begin1.h"
#include "Forms.h"
#include "Notepad.h"
#include "StudyPlaceholders.h"
#include "Text.h"
#include "WordsPanel.h"

void RegisterCourseForms()
{
    Forms::RegisterFactory<Begin1>();
    Forms::RegisterFactory<Text>();
    Forms::RegisterFactory<WordsPanel>();
    Forms::RegisterFactory<Notepad>();
    RegisterStudyPlaceholders();
}
