// vmqpack: encodes one UTF-8 text file into a coded course file.
//
//   vmqpack [--tag RW|VO|RT|RQ|SP] [--crlf] [--seed N] INPUT.txt OUTPUT.vmq
//
// Without --tag the tag is chosen by the output path (else the input path), as the program
// reads the file. Without --seed the seed comes from the input's content, so the same text
// always gives the same file. The output's folder is created; the file is replaced atomically.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "SafeFile.h"
#include "VmqEncoder.h"

namespace {
int Fail(const QString& message)
{
    std::fprintf(stderr, "vmqpack: %s\n", qPrintable(message));
    return 1;
}

int Usage()
{
    std::fprintf(stderr, "usage: vmqpack [--tag RW|VO|RT|RQ|SP] [--crlf] [--seed N] INPUT.txt OUTPUT.vmq\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString tag;
    Vmq::EncodeOptions options;
    bool seedGiven = false;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--tag") && i + 1 < args.size()) {
            tag = args[++i];
        } else if (a == QLatin1String("--crlf")) {
            options.crlf = true;
        } else if (a == QLatin1String("--seed") && i + 1 < args.size()) {
            bool ok = false;
            options.seed = args[++i].toULongLong(&ok);
            if (!ok)
                return Usage();
            seedGiven = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return Usage();
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2)
        return Usage();
    const QString& input = files[0];
    const QString& output = files[1];

    if (tag.isEmpty())
        tag = Vmq::TagForPath(output);
    if (tag.isEmpty())
        tag = Vmq::TagForPath(input);
    if (tag.isEmpty())
        return Fail(QStringLiteral("%1: no course file is read from this path; give --tag").arg(output));

    QFile in(input);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("%1: %2").arg(input, in.errorString()));
    const QByteArray source = in.readAll();
    if (!seedGiven)
        options.seed = Vmq::StableHash(source);

    QString error;
    const auto lines = Vmq::SplitTextSource(source, &error);
    if (!lines)
        return Fail(QStringLiteral("%1: %2").arg(input, error));
    const auto coded = Vmq::EncodeLines(*lines, tag, options, &error);
    if (!coded)
        return Fail(QStringLiteral("%1: %2").arg(input, error));

    QDir().mkpath(QFileInfo(output).absolutePath());
    if (!SafeFile::WriteAll(output, *coded))
        return Fail(QStringLiteral("%1: cannot write the file").arg(output));
    return 0;
}
