#pragma once
// The learner's Record folder and the one warning every failed write shows.

#include <QString>

// Creates AppPath + "Record" when no folder (or file) of that name exists.
void EnsureRecordFolder();
// AppPath + "Record/" + name.
QString RecordPath(const QString& name);
// AppPath + "Record": the folder every file of the learner's records is written to.
QString RecordFolder();
// "Velmora 2007 is unable to write the disk, ..." with the critical icon, and on a second line
// the folder that could not be written, so the learner knows where to look.
void ShowDiskWriteWarning(const QString& folder);
