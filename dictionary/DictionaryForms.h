#pragma once
// Registers the forms of the dictionary folder with the form registry.

void RegisterDictionaryForms();
