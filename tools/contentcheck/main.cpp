// contentcheck <content folder> <readings file>: checks the course sources and the surnames
// table, and prints a report per lesson. Exit 0 when clean, 1 on faults, 77 when the readings
// are not there.

#include <QCoreApplication>
#include <QTextStream>

#include "ContentCheck.h"
#include "SurnameCheck.h"
#include "VocabularyCheck.h"
#include "WrongOptionCheck.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (args.size() != 3) {
        out << "usage: contentcheck <content folder> <readings file>\n";
        return 2;
    }
    ContentCheck::Readings readings;
    if (!ContentCheck::LoadReadings(args[2], readings)) {
        out << "readings file " << args[2] << " not found: check skipped\n";
        return 77;
    }
    auto result = ContentCheck::CheckContent(args[1], readings);
    ContentCheck::CheckWrongOptions(args[1], result);
    ContentCheck::CheckVocabularySources(args[1], result.errors);
    ContentCheck::CheckSurnameBearers(SurnameRows(), result.errors);
    ContentCheck::CheckSurnameReadings(SurnameRows(), readings, result.errors);
    for (const QString& l : result.report)
        out << l << '\n';
    for (const QString& e : result.errors)
        out << "error: " << e << '\n';
    out << (result.errors.isEmpty() ? "content check: clean\n" : QStringLiteral("content check: %1 faults\n").arg(result.errors.size()));
    return result.errors.isEmpty() ? 0 : 1;
}
