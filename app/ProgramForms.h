#pragma once
// Every window of the program registered by its class, as the program does before its first
// window loads; the test hosts that run the program's windows whole call it too.
void RegisterProgramForms();
