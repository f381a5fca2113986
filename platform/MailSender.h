#pragma once
// Sends one plain-text mail without a dialog, as the old mail controls did: through a
// sendmail-compatible program ("sendmail -t -oi"). Where no such program exists the desktop's
// mail composer (xdg-email) opens with the mail filled in instead, for the learner to send.
//
// Header values never carry a line break (a name holding CR LF cannot add a header), the
// subject is encoded for mail headers, and the body travels as UTF-8.

#include <QString>
#include <QStringList>

namespace MailSender {

struct Mail {
    QStringList Recipients; // addresses
    QString Subject;
    QString Body;
};

enum class Result { Sent, Composer, Failed };

// The program used: VELMORA_SENDMAIL when set, else sendmail on the usual paths or PATH;
// empty when there is none.
QString SendmailProgram();

// The whole message as handed to the sendmail program.
QByteArray Message(const Mail& mail);

// Sends mail; blocks until the sendmail program has taken it (at most a few seconds).
Result Send(const Mail& mail);

// Splits a recipient text at ";" into trimmed, non-empty addresses.
QStringList SplitRecipients(const QString& recipientText);

} // namespace MailSender
