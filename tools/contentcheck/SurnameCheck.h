#pragma once
// Checks the famous bearers of the surnames tool's table: every name begins with its row's
// surname (and not with a longer surname of the table, as 欧阳修 in the row of 欧), and the
// column names nobody in 80 rows, one bearer in 97 rows and two in 13.

#include <QStringList>
#include <span>

#include "SurnameData.h"

namespace ContentCheck {

void CheckSurnameBearers(std::span<const SurnameData> rows, QStringList& errors);

} // namespace ContentCheck
