// A program built from the program's own libraries for the ends test (ProgramEndTest.cpp): it
// starts as the program does (ProgramEnd::Install), then holds what a learner leaves behind at
// a logout: questions typed in the notepad after the first were mailed (the mail program,
// VELMORA_SENDMAIL, still running), a text in the reading helper and a chat message, none of
// them saved yet. It prints "ready" once the chat message is in, and reads commands, one a
// line, on its standard input:
//   die      the session manager's end, as Qt delivers it: a Quit event to the application
//   unload   every window is unloaded, as the learner's closes would (the program's own end)
// The record folder is under VELMORA_APPPATH.

#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

#include "AppState.h"
#include "Chat.h"
#include "ComboBox.h"
#include "Forms.h"
#include "Notepad.h"
#include "ProgramEnd.h"
#include "ProgramForms.h"
#include "RichTextBox.h"

namespace {

template <class T> T* Control(Form* form, const char* name) { return form->findChild<T*>(QLatin1String(name)); }

void Say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void Run(const QByteArray& command)
{
    if (command == "die") {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
    } else if (command == "unload") {
        Forms::UnloadAll();
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    ProgramEnd::Install();
    RegisterProgramForms();
    State().TutorMailbox = QStringLiteral("tutor");
    State().UserName = QStringLiteral("Ann");

    Notepad* notepad = Forms::Load<Notepad>();
    if (!notepad)
        return 2;
    auto* questions = Control<NoteBox>(notepad, "Text1");
    questions->SetText(QStringLiteral("First question"));
    Control<QPushButton>(notepad, "Command1")->click();
    questions->SetText(QStringLiteral("First question\r\nSecond question"));

    Form* reading = Forms::Load(QStringLiteral("ReadingHelper"));
    if (!reading)
        return 2;
    Control<RichTextBox>(reading, "RichTextBox1")->SetText(QStringLiteral("你好, reading"));

    State().CurrentActivity = 16;
    Chat* chat = Forms::Load<Chat>();
    if (!chat)
        return 2;
    chat->ToggleTestPartner();
    QObject::connect(&chat->Session(), &ChatSession::MessageAdded, &app, [] { Say("ready"); }, Qt::SingleShotConnection);
    Control<ComboBox>(chat, "Combo1")->SetText(QStringLiteral("你好吗"));
    Control<QPushButton>(chat, "Command1")->click();

    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&commands, &QSocketNotifier::activated, [&commands, &pending] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            commands.setEnabled(false);
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray command = pending.left(end);
            pending.remove(0, end + 1);
            Run(command);
        }
    });
    return QApplication::exec();
}
