#pragma once
// Registers the forms of the course folder with the form registry.

void RegisterCourseForms();
