// dialog_lines <Script.txt> <Script.pinyin>: lists the recordings the dialogue tool plays, one
// line each: the sound file name, a tab, and the line's syllables in numbered pinyin with "|"
// where the Chinese line pauses (after a mark that more text follows). Every name once; the
// goodbye (b.wav) first. Exit 1 when the two files do not fit together or two different lines
// would share a name (the content check says why).

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include "DialogScript.h"

namespace {

QStringList ReadLines(const QString& path, bool& ok)
{
    QFile f(path);
    ok = f.open(QIODevice::ReadOnly);
    QString text = QString::fromUtf8(f.readAll());
    text.remove(u'\r');
    return text.split(u'\n');
}

bool IsHan(QChar c) { return c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF; }

// The syllables of pinyin laid over the characters of chinese, "|" after inner marks.
QString Timeline(const QString& chinese, const QString& pinyin, bool& ok)
{
    const QStringList syllables = pinyin.split(u' ', Qt::SkipEmptyParts);
    QStringList out;
    int next = 0;
    bool pausePending = false;
    for (QChar c : chinese) {
        if (IsHan(c)) {
            if (next >= syllables.size()) {
                ok = false;
                return {};
            }
            if (pausePending)
                out << QStringLiteral("|");
            pausePending = false;
            out << syllables[next++];
        } else if (next > 0 && QStringLiteral("，。？！、；：…—").contains(c)) {
            pausePending = true;
        }
    }
    ok = next == syllables.size();
    return out.join(u' ');
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: dialog_lines <Script.txt> <Script.pinyin>\n";
        return 2;
    }
    bool okScript = false, okPinyin = false;
    const QStringList script = ReadLines(QString::fromLocal8Bit(argv[1]), okScript);
    const QStringList pinyin = ReadLines(QString::fromLocal8Bit(argv[2]), okPinyin);
    if (!okScript || !okPinyin || script.size() != pinyin.size()) {
        err << "dialog_lines: the script and its pinyin file do not fit together\n";
        return 1;
    }
    QHash<QString, QString> texts{{QStringLiteral("b.wav"), QStringLiteral("再见！")}};
    out << "b.wav\tz.ai4 j.ian4\n";
    for (int i = 0; i < script.size(); ++i) {
        DialogLine line;
        if (script[i].isEmpty() || IsDialogNumberLine(script[i]) || !SplitDialogLine(script[i], line))
            continue;
        const QString name = DialogSoundFileName(line.English);
        const QString text = line.Chinese + u'=' + line.English;
        bool ok = false;
        const QString timeline = Timeline(line.Chinese, pinyin[i], ok);
        if (!ok) {
            err << "dialog_lines: line " << i + 1 << ": the pinyin does not fit the Chinese\n";
            return 1;
        }
        const auto it = texts.constFind(name);
        if (it != texts.constEnd()) {
            if (*it == text || (name == QLatin1String("b.wav") && line.Chinese == *it))
                continue;
            err << "dialog_lines: line " << i + 1 << ": " << name << " is taken by another line\n";
            return 1;
        }
        texts.insert(name, text);
        out << name << '\t' << timeline << '\n';
    }
    return 0;
}
