#include "ChatForms.h"

#include "Chat.h"
#include "ChatTest.h"
#include "Forms.h"

void RegisterChatForms()
{
    Forms::RegisterFactory<Chat>();
    Forms::RegisterFactory<ChatTest>();
}
