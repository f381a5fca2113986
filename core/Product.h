#pragma once
// The product's own name and the maker's address as the windows show them.

#include <QString>

namespace Product {
inline QString Name() { return QStringLiteral("Velmora 2007"); }
inline QString MakerWebAddress() { return QStringLiteral("www.velmora.example"); }
// The maker's mail domain, after the at sign.
inline QString MakerMailDomain() { return QStringLiteral("velmora.example"); }
// The tutor who answers every learner's questions, and gets a copy of those sent to others.
inline QString DefaultTutorMailbox() { return QStringLiteral("tutor"); }
} // namespace Product
