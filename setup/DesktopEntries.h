#pragma once
// The two shortcuts of an installed program: a desktop entry on the learner's desktop and one
// in the applications menu, both starting the installed program.

#include <QString>

namespace DesktopEntries {

// The file name both entries share.
QString FileName();
// The learner's desktop folder (the XDG user-dirs setting) and the applications menu folder.
QString DesktopFolder();
QString ApplicationsFolder();

// One argument of an Exec line, quoted and escaped by the desktop-entry rules (quoting,
// "%" doubled, then the string escapes of the file format).
QString ExecArgument(const QString& argument);
// The text of the entry that starts program in workingFolder.
QString EntryText(const QString& name, const QString& program, const QString& workingFolder);

// Creates both entries; failures are ignored, as the installer goes on either way.
void Create(const QString& name, const QString& program, const QString& workingFolder);
// Removes both entries (menu first, then desktop); failures are ignored.
void Remove();

} // namespace DesktopEntries
