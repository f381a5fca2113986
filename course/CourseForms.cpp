#include "CourseForms.h"

#include "Begin1.h"
#include "Forms.h"
#include "StudyPlaceholders.h"
#include "Typing.h"
#include "Vocabulary.h"

void RegisterCourseForms()
{
    Forms::RegisterFactory<Begin1>();
    RegisterStudyPlaceholders();
    Forms::RegisterFactory<Typing>();
    Forms::RegisterFactory<Vocabulary>();
}
