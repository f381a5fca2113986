#pragma once
// Registers the forms of the start-up road (startup folder) with the form registry.

void RegisterStartupForms();
