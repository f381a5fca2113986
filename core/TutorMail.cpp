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

TutorOutbox& TutorOutbox::Instance()
{
    // Never destroyed: a mail may still report while the program ends.
    static TutorOutbox* const outbox = new TutorOutbox;
    return *outbox;
}

bool TutorOutbox::Going(TutorMailKind kind) const
{
    return m_going[int(kind)];
}

bool TutorOutbox::Send(TutorMailKind kind, const QString& tutorMailbox, const QString& subject, const QString& text,
    std::function<void(MailSender::Result)> done)
{
    if (Going(kind))
        return false;
    m_going[int(kind)] = true;
    emit Changed(kind);
    MailSender::Send({MailSender::SplitRecipients(TutorRecipients(tutorMailbox)), subject, text}, this,
        [this, kind, done = std::move(done)](MailSender::Result result) {
            m_going[int(kind)] = false;
            emit Changed(kind);
            if (done)
                done(result);
        });
    return true;
}
