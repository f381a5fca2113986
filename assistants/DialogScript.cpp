#include "DialogScript.h"

namespace {

QString TrimTrailingBlanks(QString s)
{
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    return s;
}

QString TrimLeadingBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

QString BlankTrimmed(const QString& s) { return TrimLeadingBlanks(TrimTrailingBlanks(s)); }

} // namespace

bool SplitDialogLine(const QString& line, DialogLine& out)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    out.Chinese = TrimTrailingBlanks(line.left(eq));
    out.English = TrimLeadingBlanks(line.mid(eq + 1));
    return true;
}

bool IsDialogNumberLine(const QString& line)
{
    const QString t = BlankTrimmed(line);
    if (t.isEmpty())
        return false;
    bool ok = false;
    t.toDouble(&ok);
    return ok;
}

DialogScript ParseDialogScript(const QStringList& lines)
{
    DialogScript script;
    bool expectOpening = false;
    auto closeDialog = [&](bool report) {
        if (script.Dialogs.isEmpty() || expectOpening)
            return;
        if (report && script.Dialogs.last().ReplyCount() == 0)
            script.Warnings << QStringLiteral("Error: Dialog %1 has no answers.").arg(script.Dialogs.size());
    };
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        if (IsDialogNumberLine(line)) {
            closeDialog(true);
            expectOpening = true;
            continue;
        }
        DialogLine split;
        if (!SplitDialogLine(line, split))
            continue;
        if (expectOpening) {
            script.Dialogs.append(DialogRecord{{split}});
            expectOpening = false;
        } else if (!script.Dialogs.isEmpty()) {
            script.Dialogs.last().Lines.append(split);
        }
    }
    return script;
}

QString DialogSoundFileName(const QString& english)
{
    QString name = english.left(1);
    int counter = 1;
    for (qsizetype i = 0; i < english.size() && counter < 5; ++i) {
        if (english[i] != u' ')
            continue;
        const QString next = english.mid(i + 1, 1);
        if (next == u"." || next == u" " || next == u"," || next == u"?" || next == u"!")
            continue;
        name += next;
        ++counter;
    }
    name.replace(u'/', u'_').replace(u'\\', u'_');
    return name.toLower() + QStringLiteral(".wav");
}

int DialogFitScore(const QString& reply, const QString& opening)
{
    int score = 0;
    for (qsizetype j = 0; j + 1 < reply.size(); ++j)
        if (opening.contains(reply[j], Qt::CaseInsensitive))
            ++score;
    return score;
}

int DialogPageCount(int count)
{
    if (count <= 0)
        return 0;
    return count % 5 == 0 ? count / 5 : count / 5 + 1;
}

QList<int> SearchOpenings(const QVector<DialogRecord>& dialogs, const QString& trimmedText)
{
    QList<int> found;
    if (trimmedText.isEmpty())
        return found;
    const QStringList words = trimmedText.split(u' ');
    const char16_t first = trimmedText[0].unicode();
    const bool english = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    for (int d = 1; d <= dialogs.size(); ++d) {
        const DialogRecord& dialog = dialogs[d - 1];
        if (dialog.Lines.isEmpty())
            continue;
        const DialogLine& opening = dialog.Lines[0];
        bool all = true;
        for (const QString& w : words) {
            const bool holds = english ? opening.English.contains(u' ' + w, Qt::CaseInsensitive)
                    || opening.English.contains(w + u' ', Qt::CaseInsensitive)
                                       : opening.Chinese.contains(w, Qt::CaseInsensitive);
            if (!holds) {
                all = false;
                break;
            }
        }
        if (all)
            found << d;
    }
    return found;
}
