#include "QuestionNotes.h"

#include <QStringList>

#include "BlankTrim.h"
#include "RecordFolder.h"
#include "SafeFile.h"

QString QuestionPrompt()
{
    return QStringLiteral("You might have some questions about the Chinese language. Write them out here and send "
                          "them to us, if you have purchased tutorship. You will get a reply within one day.");
}

bool IsQuestionPrompt(const QString& text)
{
    return BlankTrim(text).compare(QuestionPrompt(), Qt::CaseInsensitive) == 0;
}

QString WithCrLf(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return out;
}

std::optional<QString> ReadQuestions(const QString& path)
{
    bool ok = false;
    const QStringList lines = ReadRecordLines(path, &ok);
    if (!ok)
        return std::nullopt;
    return lines.join(QStringLiteral("\r\n"));
}

bool WriteQuestions(const QString& path, const QString& text)
{
    const QString kept = IsQuestionPrompt(text) ? QString() : WithCrLf(text);
    return SafeFile::WriteTextLines(path, kept.split(QStringLiteral("\r\n")));
}

SendProblem CheckQuestionsToSend(const QString& tutorMailbox, const QString& userName, const QString& text)
{
    if (tutorMailbox.isEmpty())
        return SendProblem::NoTutor;
    if (userName.isEmpty())
        return SendProblem::NoName;
    if (BlankTrim(text).isEmpty() || IsQuestionPrompt(text))
        return SendProblem::NoQuestion;
    return SendProblem::None;
}

QString SendProblemText(SendProblem problem)
{
    switch (problem) {
    case SendProblem::None:
        break;
    case SendProblem::NoTutor:
        return QStringLiteral("Please fill in your tutor's email address on Setting panel.");
    case SendProblem::NoName:
        return QStringLiteral("Please fill in your name on Setting panel.");
    case SendProblem::NoQuestion:
        return QStringLiteral("What do you want to ask of us?");
    }
    return QString();
}

QString QuestionsSubject(const QString& userName, qint16 viewedLesson)
{
    return userName + QStringLiteral("'s questions about lesson ") + QString::number(viewedLesson);
}

QString SendFailedText()
{
    return QStringLiteral("Your questions could not be sent. They are kept here; please try again later.");
}

QString SendUncertainText()
{
    return QStringLiteral("Your questions may not have been sent: the mail program took them but did not finish. "
                          "They are kept here; please ask your tutor whether they arrived before you send them again.");
}
