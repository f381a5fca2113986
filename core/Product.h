#pragma once
// The product's own name and the maker's address as the windows show them.

#include <QString>

namespace Product {
inline QString Name() { return QStringLiteral("Velmora 2007"); }
inline QString MakerWebAddress() { return QStringLiteral("www.velmora.example"); }
} // namespace Product
