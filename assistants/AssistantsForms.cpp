#include "AssistantsForms.h"

#include "Alphabet1.h"
#include "Begin4.h"
#include "Figure.h"
#include "Forms.h"
#include "ReadingHelper.h"
#include "Samples.h"
#include "SentencesSingle.h"
#include "Spoken.h"
#include "Surname.h"
#include "ToolPlaceholder.h"
#include "WriteCharacter.h"

void RegisterAssistantsForms()
{
    Forms::RegisterFactory<Begin4>();
    Forms::RegisterFactory<Alphabet1>();
    Forms::RegisterFactory<Figure>();
    Forms::RegisterFactory<Surname>();
    Forms::RegisterFactory<WriteCharacter>();
    Forms::RegisterFactory<Samples>();
    Forms::RegisterFactory<ReadingHelper>();
    Forms::RegisterFactory<SentencesSingle>();
    Forms::RegisterFactory<Spoken>();
    // Last: tools without a window of their own yet open a least window.
    RegisterToolPlaceholders();
}
