#pragma once
// Registers the forms of the setup folder with the form registry.

void RegisterSetupForms();
