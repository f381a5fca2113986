#pragma once
// The questions notepad's rules, without a window: the prompt, the file the questions are
// kept in (Record/Question.txt) and what "Send" checks before it mails them to the tutor.

#include <QString>
#include <optional>

// Shown while the learner has written nothing.
QString QuestionPrompt();

// The box holds the prompt when its text, without the blanks at its ends, is the prompt
// (case ignored). A question that merely quotes the prompt is a question.
bool IsQuestionPrompt(const QString& text);

// Line breaks as the file and the mail keep them: CR LF.
QString WithCrLf(const QString& text);

// The questions kept in path: the file's lines joined with CR LF (no break after the last);
// nothing when there is no such file, or when it is refused and kept aside (KeepRefusedRecord).
std::optional<QString> ReadQuestions(const QString& path);
// Writes the questions anew, followed by one line break, in code page 936 (GB18030); the box
// at its prompt writes an empty line. The old file stays whole when writing fails (false), and
// when the text is more than the reader takes back.
bool WriteQuestions(const QString& path, const QString& text);

// What "Send" finds wrong, checked in this order.
enum class SendProblem { None, NoTutor, NoName, NoQuestion };
SendProblem CheckQuestionsToSend(const QString& tutorMailbox, const QString& userName, const QString& text);
// The "Attention" text of a problem (empty for None).
QString SendProblemText(SendProblem problem);

// The mail's subject: "<name>'s questions about lesson <n>".
QString QuestionsSubject(const QString& userName, qint16 viewedLesson);

// Shown ("Warning") when the mail could not be handed on; the questions stay in the box.
QString SendFailedText();
// Shown ("Warning") when the mail program took the mail and then did not finish: the mail may
// have gone, and sending again may send it twice.
QString SendUncertainText();
