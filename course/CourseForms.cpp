#include "CourseForms.h"

#include "Begin1.h"
#include "Forms.h"
#include "StudyPlaceholders.h"

void RegisterCourseForms()
{
    Forms::RegisterFactory<Begin1>();
    RegisterStudyPlaceholders();
}
