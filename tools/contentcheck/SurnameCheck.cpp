#include "SurnameCheck.h"

#include <array>

namespace ContentCheck {

void CheckSurnameBearers(std::span<const SurnameData> rows, QStringList& errors)
{
    QStringList surnames;
    for (const SurnameData& row : rows)
        surnames << QString::fromUtf8(row.Surname);

    // Rows naming nobody, one bearer, two bearers.
    constexpr std::array<int, 3> expected{80, 97, 13};
    std::array<int, 3> counts{};
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString& surname = surnames[i];
        const QString bearers = QString::fromUtf8(rows[i].Bearers);
        const QString where = QStringLiteral("surnames:%1 (%2): ").arg(i + 1).arg(surname);
        const QStringList names = bearers.isEmpty() ? QStringList() : bearers.split(u'、');
        if (names.size() < int(counts.size()))
            ++counts[names.size()];
        else
            errors << where + QStringLiteral("more than two bearers");
        for (const QString& name : names) {
            if (!name.startsWith(surname) || name.size() == surname.size() || name.contains(u' ')) {
                errors << where + QStringLiteral("\"%1\" is no name of this surname").arg(name);
                continue;
            }
            for (const QString& longer : surnames)
                if (longer.size() > surname.size() && name.startsWith(longer))
                    errors << where + QStringLiteral("\"%1\" bears the surname %2").arg(name, longer);
        }
    }
    for (int k = 0; k < int(counts.size()); ++k)
        if (counts[k] != expected[k])
            errors << QStringLiteral("surnames: %1 rows name %2 bearers, %3 expected").arg(counts[k]).arg(k).arg(expected[k]);
}

} // namespace ContentCheck
