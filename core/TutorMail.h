#pragma once
// Questions to the tutor by mail: who receives them and the mail itself. The questions notepad
// and the everyday-sentences tool both send through here.
//
// One mail of each kind goes at a time, whichever window asks: a window closed and opened
// again while its mail is going finds Send off, and the mail's result still reaches the
// learner, though the window that asked is gone.

#include <QObject>
#include <QString>
#include <functional>

#include "MailSender.h"

// The recipient text for a tutor's mailbox name: the mailbox at the maker's domain, and
// ";" + the default tutor's address when the mailbox is another (compared without case).
QString TutorRecipients(const QString& tutorMailbox);

// What is mailed: the notepad's questions, or a sentence from the everyday-sentences tool.
enum class TutorMailKind { Questions, Sentence };

// The mails to the tutor that are going. Windows with a Send button follow Changed.
class TutorOutbox : public QObject {
    Q_OBJECT
public:
    static TutorOutbox& Instance();
    bool Going(TutorMailKind kind) const;

    // Sends the learner's text to the tutor without waiting, unless a mail of the same kind
    // is still going (false: nothing is sent). The text goes into the body only, never a
    // header. done gets the result later, as MailSender::Send says, whether or not the window
    // that asked is still there: it must not reach into that window.
    bool Send(TutorMailKind kind, const QString& tutorMailbox, const QString& subject, const QString& text,
        std::function<void(MailSender::Result)> done);

signals:
    // A mail of kind started or was reported.
    void Changed(TutorMailKind kind);

private:
    TutorOutbox() = default;
    bool m_going[2]{}; // by TutorMailKind
};
