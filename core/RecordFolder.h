#pragma once
// The learner's Record folder and the one warning every failed write shows.

#include <QString>

// Creates AppPath + "Record" when no folder (or file) of that name exists.
void EnsureRecordFolder();
// AppPath + "Record/" + name.
QString RecordPath(const QString& name);
// "Velmora 2007 is unable to write the disk, ..." with the critical icon.
void ShowDiskWriteWarning();
