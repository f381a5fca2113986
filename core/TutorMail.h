#pragma once
// Questions to the tutor by mail: who receives them and the mail itself. The questions notepad
// and the everyday-sentences tool both send through here.

#include <QString>

#include "MailSender.h"

// The recipient text for a tutor's mailbox name: the mailbox at the maker's domain, and
// ";" + the default tutor's address when the mailbox is another (compared without case).
QString TutorRecipients(const QString& tutorMailbox);

// Sends the learner's text to the tutor without waiting; the text goes into the body only,
// never a header. done gets the result later, as MailSender::Send says.
void SendToTutor(const QString& tutorMailbox, const QString& subject, const QString& text, QObject* context,
    std::function<void(MailSender::Result)> done);
