// libFuzzer target for the chat's datagram handler with the history behind it. Input: byte 0
// holds flags (bit 0: a message is pending, bit 1: the datagrams come from a stranger), byte 1
// the pending text's length n, then n bytes of pending text (code page 936), then datagrams
// separated by FF (no byte of code page 936). Checks that handling never crashes, that a
// stranger changes nothing, that each datagram records at most one message, and that every
// recorded message is one clean, capped line that comes back unchanged through the history
// file's encoding.

#include <QCoreApplication>
#include <QHostAddress>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "ChatHistory.h"
#include "ChatSession.h"
#include "CodePage.h"
#include "MsgBox.h"

namespace {
// The application object lives until the process ends (see the coded-file target).
QCoreApplication* g_app = nullptr;
std::unique_ptr<QTemporaryDir> g_dir;
std::unique_ptr<MsgBox::Recorder> g_boxes;
// A partner that never reads: acknowledgements and messages go somewhere real.
std::unique_ptr<QUdpSocket> g_sink;
ChatSession* g_chat = nullptr;

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// The history file's bytes for these lines, read back as the loader reads them.
QStringList ThroughFile(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += CodePage::ToGbk(l) + "\r\n";
    QStringList back = CodePage::FromGbk(bytes).split(QLatin1Char('\n'));
    for (QString& l : back)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!back.isEmpty() && back.last().isEmpty())
        back.removeLast();
    return back;
}

void CheckMessages()
{
    const QVector<ChatMessage>& messages = g_chat->Messages();
    for (const ChatMessage& m : messages) {
        Check(!m.Text.isEmpty() && m.Text.size() <= ChatWire::StoredTextLimit);
        for (QChar c : m.Text)
            Check(c.unicode() >= 0x20 && c.category() != QChar::Other_Control && c != QChar::LineSeparator
                && c != QChar::ParagraphSeparator);
    }
    const QVector<ChatMessage> back = ChatHistory::FromLines(ThroughFile(ChatHistory::ToLines(messages)));
    Check(back.size() == messages.size());
    for (qsizetype i = 0; i < back.size(); ++i)
        Check(back[i].Text == messages[i].Text && back[i].Received == messages[i].Received);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    g_app = new QCoreApplication(*argc, *argv);
    g_dir = std::make_unique<QTemporaryDir>();
    g_boxes = std::make_unique<MsgBox::Recorder>();
    qputenv("VELMORA_APPPATH", g_dir->path().toLocal8Bit());
    g_sink = std::make_unique<QUdpSocket>();
    if (!g_sink->bind(QHostAddress::LocalHost, 0))
        std::abort();
    g_chat = new ChatSession;
    UdpSocket& socket = g_chat->Socket();
    socket.BindAddress = QHostAddress::LocalHost;
    socket.LocalPort = 0;
    socket.Bind();
    socket.RemoteHost = QStringLiteral("127.0.0.1");
    socket.RemotePort = g_sink->localPort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool pending = data[0] & 1;
    const bool stranger = data[0] & 2;
    const size_t n = std::min<size_t>(data[1], size - 2);
    const QByteArray pendingBytes(reinterpret_cast<const char*>(data + 2), qsizetype(n));
    const QByteArray rest(reinterpret_cast<const char*>(data + 2 + n), qsizetype(size - 2 - n));

    g_chat->ClearHistory();
    g_chat->EnableSend();
    g_chat->Link().Send(QStringLiteral("x")); // gives a pending text...
    g_chat->Link().HandleDatagram("#x", QHostAddress::LocalHost, g_sink->localPort()); // ...and takes it
    g_chat->ClearHistory();
    if (pending) {
        g_chat->EnableSend();
        g_chat->Send(CodePage::FromGbk(pendingBytes));
    }
    const quint16 from = stranger ? quint16(g_sink->localPort() + 1) : g_sink->localPort();
    for (const QByteArray& datagram : rest.split('\xFF')) {
        const int before = g_chat->MessageCount();
        const QString pendingBefore = g_chat->Link().PendingText();
        g_chat->Link().HandleDatagram(datagram, QHostAddress::LocalHost, from);
        const int added = g_chat->MessageCount() - before;
        Check(added == 0 || added == 1);
        if (stranger)
            Check(added == 0 && g_chat->Link().PendingText() == pendingBefore);
        if (added == 1 && !g_chat->Messages().last().Received)
            Check(!pendingBefore.isEmpty() && g_chat->Link().PendingText().isEmpty());
    }
    CheckMessages();
    g_boxes->Clear();
    return 0;
}
