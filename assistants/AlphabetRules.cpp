#include "AlphabetRules.h"

#include <QSet>
#include <algorithm>

#include "AppState.h"
#include "Pinyin.h"

QStringList AlphabetGroups()
{
    QStringList groups;
    for (char c = 'A'; c <= 'Z'; ++c)
        if (c != 'I' && c != 'U' && c != 'V')
            groups << QStringLiteral("Group ") + QLatin1Char(c);
    return groups;
}

QString JoinSyllable(const QString& entry)
{
    QString joined = entry.left(entry.size() - 4);
    joined.remove(QLatin1Char('|'));
    return joined;
}

std::array<ToneForm, 4> ToneForms(const QString& entry, const QVector<CharacterRecord>& table, int count)
{
    std::array<ToneForm, 4> forms;
    if (entry.size() < 5)
        return forms;
    const QString flags = entry.right(4);
    const QString syllable = entry.left(entry.size() - 4);
    const qsizetype bar = syllable.indexOf(QLatin1Char('|'));
    const QString head = syllable.left(bar);
    const QString vowel = syllable.mid(bar + 1, 1);
    const QString tail = syllable.mid(bar + 2);
    for (int t = 1; t <= 4; ++t) {
        if (flags.at(t - 1) != QLatin1Char('1'))
            continue;
        ToneForm& form = forms[t - 1];
        const QString digit = QString::number(t);
        form.Caption = VToUmlaut(head) + ToneVowel(vowel, qint16(t)) + tail;
        form.ToolTip = head + vowel + tail + digit;
        const QString reading = head + QLatin1Char('.') + vowel + tail + digit;
        QSet<QString> seen;
        for (qsizetype k = 0; k < std::min<qsizetype>(count, table.size()); ++k) {
            const CharacterRecord& record = table[k];
            if (seen.contains(record.Character))
                continue;
            for (const CharacterReading& r : record.Readings)
                if (r.DottedSyllable + r.MarkTone == reading) {
                    form.Tag += record.Character;
                    seen.insert(record.Character);
                    break;
                }
        }
    }
    return forms;
}

QString AlphabetSoundPath(const QString& appPath, const QString& letter, const QString& entry, int tone)
{
    return appPath + QStringLiteral("Phonetic Symbols/") + letter + QLatin1Char('/') + JoinSyllable(entry)
        + QString::number(tone) + QStringLiteral(".wav");
}

int NextSyllable(int index, int count) { return index >= count ? 1 : index + 1; }

int PreviousSyllable(int index) { return index < 2 ? index : index - 1; }
