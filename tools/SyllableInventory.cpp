// Lists every toneless pinyin syllable that the Unihan readings use, one per line, sorted,
// with "v" for ü (the sound folders' spelling). Reads Unihan_Readings.txt on stdin and takes
// the kMandarin readings; readings that are not syllables of the course's sound set (the
// vowel-less interjections m, n, ng, hm, hng and the rare ê) are left out.

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

QString Toneless(const QString& reading)
{
    QString out;
    for (const QChar c : reading.normalized(QString::NormalizationForm_D)) {
        if (c == QChar(0x0308)) { // the diaeresis of ü
            if (!out.isEmpty() && out.back() == QLatin1Char('u'))
                out.back() = QLatin1Char('v');
        } else if (c.category() != QChar::Mark_NonSpacing) {
            out += c.toLower();
        }
    }
    return out;
}

} // namespace

int main()
{
    QTextStream in(stdin);
    in.setEncoding(QStringConverter::Utf8);
    const QRegularExpression syllable(QStringLiteral("^[bcdfghjklmnpqrstwxyz]*[aeiouv][a-z]*$"));
    QSet<QString> found;
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() < 3 || f.at(1) != QLatin1String("kMandarin"))
            continue;
        for (const QString& reading : f.at(2).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString s = Toneless(reading);
            if (syllable.match(s).hasMatch())
                found.insert(s);
        }
    }
    QStringList list(found.begin(), found.end());
    std::sort(list.begin(), list.end());
    QTextStream out(stdout);
    for (const QString& s : list)
        out << s << '\n';
    return list.isEmpty() ? 1 : 0;
}
