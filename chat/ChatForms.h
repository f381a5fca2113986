#pragma once
// Registers the forms of the chat folder with the form registry.

void RegisterChatForms();
