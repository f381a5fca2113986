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

namespace {

// Surnames whose characters have several readings, with the reading the surname takes where
// another reading would be the first guess. 纪 is Jì as most speakers say it and Jǐ by the
// older rule, 那 is Nà as the character is commonly read and Nā by the surname's own rule:
// either is right.
struct SurnameReading {
    const char* surname;
    const char* readings; // the allowed syllables of the whole surname, "|" between choices
};
constexpr SurnameReading PolyphoneSurnames[] = {
    {"褚", "chu3"},
    {"曲", "qu1"},
    {"解", "xie4"},
    {"仇", "qiu2"},
    {"曾", "zeng1"},
    {"华", "hua4"},
    {"葛", "ge3"},
    {"任", "ren2"},
    {"纪", "ji4|ji3"},
    {"那", "na4|na1"},
    {"尉迟", "yu4 chi2"},
    {"令狐", "ling2 hu2"},
};

} // namespace

void CheckSurnameReadings(std::span<const SurnameData> rows, const Readings& readings, QStringList& errors)
{
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString surname = QString::fromUtf8(rows[i].Surname);
        const QString where = QStringLiteral("surnames:%1 (%2): ").arg(i + 1).arg(surname);
        QStringList syllables = QString::fromUtf8(rows[i].Pinyin).split(u' ', Qt::SkipEmptyParts);
        if (syllables.size() != surname.size()) {
            errors << where + QStringLiteral("%1 syllables for %2 characters").arg(syllables.size()).arg(surname.size());
            continue;
        }
        for (int k = 0; k < syllables.size(); ++k) {
            syllables[k].remove(u'.');
            const QSet<QString> known = readings.value(surname[k]);
            if (!known.contains(syllables[k])) {
                QStringList sorted = known.values();
                sorted.sort();
                errors << where + QStringLiteral("%1 read %2, known: %3").arg(surname[k]).arg(syllables[k], sorted.join(u' '));
            }
        }
        for (const SurnameReading& polyphone : PolyphoneSurnames)
            if (surname == QString::fromUtf8(polyphone.surname)) {
                const QStringList allowed = QString::fromUtf8(polyphone.readings).split(u'|');
                if (!allowed.contains(syllables.join(u' ')))
                    errors << where + QStringLiteral("the surname is read %1, not %2").arg(allowed.join(QStringLiteral(" or ")), syllables.join(u' '));
            }
    }
}

} // namespace ContentCheck
