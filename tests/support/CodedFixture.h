#pragma once
// Coded course files for tests, written by the same encoder the build uses (tools/vmqpack).

#include <QString>
#include <QStringList>

// Writes lines as a coded file at path (absolute; "\" accepted; folders created). Without a
// tag the tag follows the path as the program reads it (icwp/zi -> RW, lifr -> RT, ci -> VO,
// Spoken/Script* -> SP). Fails the current test when the lines cannot be encoded.
void WriteCodedFile(const QString& path, const QStringList& lines, const QString& tag = QString());
