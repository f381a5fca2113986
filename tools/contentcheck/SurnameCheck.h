#pragma once
// Checks the surnames tool's table. The famous bearers: every name begins with its row's
// surname (and not with a longer surname of the table, as 欧阳修 in the row of 欧), and the
// column names nobody in 80 rows, one bearer in 97 rows and two in 13. The readings: every
// syllable is a known reading of its character, and a surname of a character with several
// readings has the one it takes as a surname (褚 Chǔ, 曲 Qū, 石 Shí, not Dàn).

#include <QStringList>
#include <span>

#include "ContentCheck.h"
#include "SurnameData.h"

namespace ContentCheck {

void CheckSurnameBearers(std::span<const SurnameData> rows, QStringList& errors);

void CheckSurnameReadings(std::span<const SurnameData> rows, const Readings& readings, QStringList& errors);

} // namespace ContentCheck
