#pragma once
// Registers the forms of the core folder with the form registry.

void RegisterCoreForms();
