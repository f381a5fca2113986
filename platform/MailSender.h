#pragma once
// Sends one plain-text mail without a dialog, as the old mail controls did: through a
// sendmail-compatible program ("sendmail -t -oi"). Where no such program exists the desktop's
// mail composer (xdg-email) opens with the mail filled in instead, for the learner to send.
// Either program runs beside the window, never blocking it, in a process group of its own.
// A sendmail program still running when the program ends is ended with its group (asked
// first, then made to); the composer is the learner's window by then and stays.
//
// Header values never carry a line break (a name holding CR LF cannot add a header), the
// subject is encoded for mail headers, and the body travels as UTF-8.

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace MailSender {

struct Mail {
    QStringList Recipients; // addresses
    QString Subject;
    QString Body;
};

enum class Result { Sent, Composer, Failed, MaybeSent };

// The program used: VELMORA_SENDMAIL when set, else sendmail on the usual paths or PATH;
// empty when there is none.
QString SendmailProgram();

// The whole message as handed to the sendmail program.
QByteArray Message(const Mail& mail);

// How long the sendmail program may take before it is ended with everything it started.
constexpr int TimeLimitMs = 15000;

// Starts sending mail and returns at once. done(result) comes later from the event loop,
// exactly once, unless context is gone by then:
// - Sent: the sendmail program took the mail (exit code 0);
// - Composer: no sendmail program; the desktop's composer started (its launcher ended with
//   code 0, or is still running at the time limit, which is the composer open);
// - Failed: a refused recipient, a program that would not start or failed, or a sendmail
//   program still running at the time limit before it had read the whole mail;
// - MaybeSent: a sendmail program that had read the whole mail and was still running at the
//   time limit: it may have passed the mail on before it hung, so a second try may send the
//   mail twice.
// A program still running at the time limit is ended with its process group.
// The time limit runs on the program's clock (Timer).
void Send(const Mail& mail, QObject* context, std::function<void(Result)> done, int timeLimitMs = TimeLimitMs);

// Mails started and not yet reported (tests wait for them in the event loop).
int Running();

// Ends every mail program still running, composers too, each with its process group, and
// reports each mail as its time limit would, before returning. Tests end with it, so that no
// mail program they started outlives them.
void EndAll();

// The program's end (ProgramEnd): BeginEnding asks every sendmail program still running to
// end (SIGTERM to its process group); FinishEnding gives them what is left of graceMs since
// then, ends the ones still running with their group (SIGKILL), and ends what any of them
// started and left behind. Each mail is reported before FinishEnding returns: Sent when the
// program still ended with code 0, otherwise as at the time limit. A composer stays, as
// everywhere. A sendmail program still running at an end that skips this road (exit() from a
// library) is ended with its group at exit.
constexpr int EndGraceMs = 2000;
void BeginEnding();
void FinishEnding(int graceMs);

// Splits a recipient text at ";" into trimmed, non-empty addresses.
QStringList SplitRecipients(const QString& recipientText);

} // namespace MailSender
