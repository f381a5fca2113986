// A chat session's last save, ended by a kill at a chosen step: it loads Record/Chat.txt, adds
// new messages and saves them as the chat window does (on the background writer, the outcome
// and its word to the learner coming back from the event loop). At the step of the save named
// on the command line (the count of disk-changing steps, SafeFile::SetStepHook) the process
// kills itself, as a crash or the system would end it. Each box the learner would see is added
// to told.txt in the application folder. Without a kill it ends with 0 once the outcome came.
//
// chat_split_child <step> <new messages>; the application folder is VELMORA_APPPATH.

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <memory>

#include "AppState.h"
#include "ChatHistory.h"
#include "MsgBox.h"
#include "SafeFile.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const int killAt = std::atoi(argv[1]);
    const int newMessages = std::atoi(argv[2]);
    int steps = 0;
    SafeFile::SetStepHook([&steps, killAt](const char*, const QString&) {
        if (++steps == killAt)
            ::raise(SIGKILL);
        return 0;
    });
    MsgBox::Recorder boxes;
    boxes.OnShow([](const MsgBox::Shown& shown) {
        QFile told(State().AppPath + QStringLiteral("told.txt"));
        if (told.open(QIODevice::Append))
            told.write(shown.text.toUtf8() + '\n');
    });
    bool read = false;
    QVector<ChatMessage> messages = ChatHistory::FromLines(SafeFile::ReadTextLines(ChatHistory::FilePath(), &read));
    if (!read)
        return 3;
    for (int i = 0; i < newMessages; ++i)
        messages.append({QStringLiteral("new %1 ").arg(i) + QString(990, QChar(0x4F60)), true, {}});
    QObject context;
    ChatHistory::SaveLater(messages, std::make_shared<ChatHistory::KeptPart>(), &context,
        [](const ChatHistory::SaveOutcome& outcome) { QCoreApplication::exit(outcome.Ok ? 0 : 1); });
    return QCoreApplication::exec();
}
