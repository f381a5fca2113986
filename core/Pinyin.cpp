#include "Pinyin.h"

#include "AppState.h"
#include "TextFilters.h"

namespace {
struct MarkRow {
    QChar plain;
    char16_t marks[4]; // tones 1 to 4
};

// The only tone-marked letters the course knows (lower case).
constexpr MarkRow kMarks[] = {
    {u'a', {u'\u0101', u'\u00E1', u'\u01CE', u'\u00E0'}},
    {u'o', {u'\u014D', u'\u00F3', u'\u01D2', u'\u00F2'}},
    {u'e', {u'\u0113', u'\u00E9', u'\u011B', u'\u00E8'}},
    {u'i', {u'\u012B', u'\u00ED', u'\u01D0', u'\u00EC'}},
    {u'u', {u'\u016B', u'\u00FA', u'\u01D4', u'\u00F9'}},
    {u'v', {u'\u01D6', u'\u01D8', u'\u01DA', u'\u01DC'}},
};
constexpr char16_t kUmlaut = u'\u00FC';

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool IsPlainVowel(QChar c)
{
    return c == QLatin1Char('a') || c == QLatin1Char('o') || c == QLatin1Char('e') || c == QLatin1Char('i') ||
        c == QLatin1Char('u');
}

// The vowel slot a character stands for in the first pass of MarkedToNumberedSyllable.
VowelTone SlotFor(QChar c)
{
    if (IsPlainVowel(c))
        return MakeVowelTone(QString(c), 0);
    if (c == QChar(kUmlaut))
        return MakeVowelTone(QStringLiteral("v"), 0);
    for (const MarkRow& row : kMarks)
        for (int t = 0; t < 4; ++t)
            if (c == QChar(row.marks[t]))
                return MakeVowelTone(QString(row.plain), static_cast<qint16>(t + 1));
    return MakeVowelTone(QString(), 0);
}

// Cuts text at every digit: each piece is the collected text, blanks trimmed, plus its digit.
QStringList CutAtDigits(const QString& text)
{
    QStringList pieces;
    QString collected;
    for (const QChar c : text) {
        collected += c;
        if (IsDigit(c)) {
            pieces.append(BlankTrim(collected.chopped(1)) + c);
            collected.clear();
        }
    }
    return pieces;
}
} // namespace

QString ToneVowel(const QString& vowel, qint16 tone)
{
    for (const MarkRow& row : kMarks) {
        if (vowel != QString(row.plain))
            continue;
        if (tone >= 1 && tone <= 4)
            return QString(QChar(row.marks[tone - 1]));
        // A neutral-tone ü still shows as ü ("l.v0" reads "lü", not "l").
        return row.plain == QLatin1Char('v') ? QString(QChar(kUmlaut)) : vowel;
    }
    return {};
}

QString VToUmlaut(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('v'), QChar(kUmlaut));
    return out;
}

QString NumberedToMarkedPinyin(const QString& numbered)
{
    if (!numbered.contains(QLatin1Char('.'))) {
        if (!numbered.isEmpty() && IsDigit(numbered.back()))
            return numbered.chopped(1);
        return numbered;
    }
    QString result;
    for (const QString& piece : CutAtDigits(numbered)) {
        const qint16 tone = static_cast<qint16>(piece.back().digitValue());
        const QString letters = piece.chopped(1);
        const qsizetype dot = letters.indexOf(QLatin1Char('.'));
        QString converted;
        if (dot < 0) {
            converted = VToUmlaut(letters);
        } else {
            converted = VToUmlaut(letters.left(dot)) + ToneVowel(letters.mid(dot + 1, 1), tone) + letters.mid(dot + 2);
        }
        result += QLatin1Char(' ') + converted;
    }
    qsizetype start = 0;
    while (start < result.size() && result[start] == QLatin1Char(' '))
        ++start;
    return result.mid(start);
}

QString DotsToSpaces(const QString& numbered)
{
    QString out = numbered;
    out.replace(QLatin1Char('.'), QLatin1Char(' '));
    return BlankTrim(out);
}

QStringList SplitNumberedPinyin(const QString& numbered)
{
    State().SplitSyllables = CutAtDigits(numbered);
    return State().SplitSyllables;
}

VowelTone MakeVowelTone(const QString& vowel, qint16 tone) { return VowelTone{vowel, tone}; }

QString MarkedToNumberedSyllable(const QString& piece)
{
    // First pass: plain letters are copied; every vowel (marked or not) opens a slot and is
    // written as "." plus its plain letter. Each slot remembers where its dot stands, so that
    // a "." the piece itself holds is never taken for one.
    QString output;
    QList<VowelTone> vowelSlots;
    QList<qsizetype> slotDots;
    for (const QChar c : piece) {
        if (c.unicode() <= 130 && !IsPlainVowel(c)) {
            output += c;
            continue;
        }
        vowelSlots.append(SlotFor(c));
        slotDots.append(output.size());
        output += QLatin1Char('.') + vowelSlots.last().Vowel;
    }
    if (vowelSlots.isEmpty())
        return output;

    // The tone vowel: a or e, else o, else i (u in "iu"), else u, else ü.
    const auto has = [&output](const char* s) { return output.contains(QLatin1String(s), Qt::CaseInsensitive); };
    QString chosen;
    if (has("a") || has("e"))
        chosen = QStringLiteral("ae");
    else if (has("o"))
        chosen = QStringLiteral("o");
    else if (has("i"))
        chosen = has(".i.u") ? QStringLiteral("u") : QStringLiteral("i");
    else if (has("u"))
        chosen = QStringLiteral("u");
    else if (has("v"))
        chosen = QStringLiteral("v");
    else
        return output;

    // Rebuild with only the slot dots before a chosen vowel; the last one kept marks the tone
    // slot. Every other dot goes, the piece's own dots included: in numbered pinyin a dot
    // stands only before the tone vowel.
    QString rebuilt;
    qsizetype slot = 0;
    qsizetype toneSlot = -1;
    for (qsizetype i = 0; i < output.size(); ++i) {
        const bool slotDot = slot < slotDots.size() && slotDots[slot] == i;
        if (!slotDot) {
            if (output[i] != QLatin1Char('.'))
                rebuilt += output[i];
            continue;
        }
        if (i + 1 < output.size() && chosen.contains(output[i + 1])) {
            rebuilt += QLatin1Char('.');
            toneSlot = slot;
        }
        ++slot;
    }
    if (toneSlot < 0)
        toneSlot = vowelSlots.size() - 1;
    return rebuilt + QString::number(vowelSlots[toneSlot].Tone);
}

QString MarkedToNumberedPinyin(const QString& marked)
{
    const QChar separator = marked.contains(QLatin1Char(',')) ? QLatin1Char(',') : QLatin1Char(' ');
    QString result;
    QString collected;
    for (const QChar c : marked + separator) {
        if (c == separator) {
            result += MarkedToNumberedSyllable(collected) + separator;
            collected.clear();
        } else {
            collected += c;
        }
    }
    return result;
}
