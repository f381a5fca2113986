#include "MailSender.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace MailSender {

namespace {

// A header value on one line: every CR, LF and other control character becomes a blank.
QString OneLine(const QString& value)
{
    QString line = value;
    for (QChar& c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return line;
}

bool IsAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7E)
            return false;
    }
    return true;
}

// RFC 2047 encoded words of at most 75 characters, split between whole characters.
QByteArray EncodedHeader(const QString& value)
{
    const QString line = OneLine(value);
    if (IsAscii(line))
        return line.toLatin1();
    QByteArrayList words;
    QString piece;
    for (qsizetype i = 0; i < line.size(); ++i) {
        piece += line.at(i);
        if (line.at(i).isHighSurrogate() && i + 1 < line.size())
            piece += line.at(++i);
        if (piece.toUtf8().size() >= 39) { // 39 bytes -> 52 base64 characters per word
            words << "=?UTF-8?B?" + piece.toUtf8().toBase64() + "?=";
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        words << "=?UTF-8?B?" + piece.toUtf8().toBase64() + "?=";
    return words.join("\r\n ");
}

QByteArray WrappedBase64(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + "\r\n";
    return out;
}

bool ValidAddress(const QString& address)
{
    // Addresses go on a header line: nothing that could end it or start another.
    return !address.isEmpty() && address == OneLine(address) && !address.contains(u',')
           && address.count(u'@') == 1;
}

} // namespace

QStringList SplitRecipients(const QString& recipientText)
{
    QStringList addresses;
    for (const QString& part : recipientText.split(u';')) {
        const QString address = part.trimmed();
        if (!address.isEmpty())
            addresses << address;
    }
    return addresses;
}

QString SendmailProgram()
{
    const QString configured = qEnvironmentVariable("VELMORA_SENDMAIL");
    if (!configured.isEmpty())
        return QFileInfo(configured).isExecutable() ? configured : QString();
    for (const char* path : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
        if (QFileInfo(QString::fromLatin1(path)).isExecutable())
            return QString::fromLatin1(path);
    }
    return QStandardPaths::findExecutable(QStringLiteral("sendmail"));
}

QByteArray Message(const Mail& mail)
{
    QByteArray message;
    QStringList to;
    for (const QString& address : mail.Recipients)
        to << OneLine(address);
    message += "To: " + to.join(QStringLiteral(", ")).toUtf8() + "\r\n";
    message += "Subject: " + EncodedHeader(mail.Subject) + "\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: text/plain; charset=UTF-8\r\n";
    message += "Content-Transfer-Encoding: base64\r\n";
    message += "\r\n";
    message += WrappedBase64(mail.Body.toUtf8());
    return message;
}

Result Send(const Mail& mail)
{
    QStringList recipients;
    for (const QString& address : mail.Recipients) {
        if (!ValidAddress(address))
            return Result::Failed;
        recipients << address;
    }
    if (recipients.isEmpty())
        return Result::Failed;

    const QString program = SendmailProgram();
    if (program.isEmpty()) {
        QStringList args{QStringLiteral("--utf8"), QStringLiteral("--subject"), OneLine(mail.Subject),
                         QStringLiteral("--body"), mail.Body};
        args << recipients;
        return QProcess::startDetached(QStringLiteral("xdg-email"), args) ? Result::Composer : Result::Failed;
    }

    QProcess sendmail;
    sendmail.start(program, {QStringLiteral("-t"), QStringLiteral("-oi")});
    if (!sendmail.waitForStarted(5000))
        return Result::Failed;
    sendmail.write(Message({recipients, mail.Subject, mail.Body}));
    sendmail.closeWriteChannel();
    if (!sendmail.waitForFinished(15000)) {
        sendmail.kill();
        sendmail.waitForFinished(1000);
        return Result::Failed;
    }
    return sendmail.exitStatus() == QProcess::NormalExit && sendmail.exitCode() == 0 ? Result::Sent
                                                                                     : Result::Failed;
}

} // namespace MailSender
