#pragma once
// Course files for tests: a UTF-8 text written as a coded .vmq file through the program's own
// encoder, so that loaders read fixtures exactly as they read the shipped course.

#include <QString>

// Writes text (lines separated by "\n") to path as a coded file for tag ("RW", "VO", "RT",
// "SP"), creating the folders on the way. False when the file could not be written.
bool WriteCodedFile(const QString& path, const QString& text, const QString& tag);
