#pragma once
// The system's trim: plain blanks (U+0020) only, at both ends. Tabs, line breaks and the
// ideographic space U+3000 (which counts as a Chinese character) are kept, unlike
// QString::trimmed().

#include <QString>

QString BlankTrim(const QString& s);
// The same trim of a view, as a view into the same text.
QStringView BlankTrim(QStringView s);
