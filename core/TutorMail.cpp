#include "TutorMail.h"

#include "Product.h"

QString TutorRecipients(const QString& tutorMailbox)
{
    const QString domain = u'@' + Product::MakerMailDomain();
    QString recipients = tutorMailbox + domain;
    if (tutorMailbox.compare(Product::DefaultTutorMailbox(), Qt::CaseInsensitive) != 0)
        recipients += u';' + Product::DefaultTutorMailbox() + domain;
    return recipients;
}

void SendToTutor(const QString& tutorMailbox, const QString& subject, const QString& text, QObject* context,
    std::function<void(MailSender::Result)> done)
{
    MailSender::Send({MailSender::SplitRecipients(TutorRecipients(tutorMailbox)), subject, text}, context,
        std::move(done));
}
