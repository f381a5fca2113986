#include "CourseForms.h"

#include "Begin1.h"
#include "Forms.h"

void RegisterCourseForms()
{
    Forms::RegisterFactory<Begin1>();
}
