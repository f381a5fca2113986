#include "CourseForms.h"

#include "Begin1.h"
#include "Exercise3.h"
#include "FindSentence.h"
#include "Expressions_Related.h"
#include "Forms.h"
#include "Newwords.h"
#include "Notepad.h"
#include "Result1.h"
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
    Forms::RegisterFactory<Typing>();
    Forms::RegisterFactory<Vocabulary>();
    Forms::RegisterFactory<Exercise3>();
    Forms::RegisterFactory<Result1>();
    Forms::RegisterFactory<FindSentence>();
}
