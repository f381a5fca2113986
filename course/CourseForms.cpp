#include "CourseForms.h"

#include "Begin1.h"
#include "Exercise3.h"
#include "FindSentence.h"
#include "Forms.h"
#include "Notepad.h"
#include "Result1.h"
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
    RegisterStudyPlaceholders();
    Forms::RegisterFactory<Typing>();
    Forms::RegisterFactory<Vocabulary>();
    Forms::RegisterFactory<Exercise3>();
    Forms::RegisterFactory<Result1>();
    Forms::RegisterFactory<FindSentence>();
}
