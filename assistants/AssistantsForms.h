#pragma once
// Registers the forms of the assistants folder with the form registry.

void RegisterAssistantsForms();
