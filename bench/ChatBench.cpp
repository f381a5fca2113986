// The chat under bursts from two plain peers in other processes: its partner and a stranger,
// each a process of this program (chat_bench --peer) that sends with a plain socket, as fast as
// it can, while the chat window (offscreen, with its real rows) reads on its own event loop.
//
//   build/bench/chat_bench [rounds]
//
// The chat listens on 127.0.0.1, its partner sits on 127.0.0.2 and the stranger on 127.0.0.3.
// For each burst size both peers send their bursts at once; once the chat has read what the
// kernel kept, each peer sends three single datagrams, which must all arrive (the partner's
// are recorded and acknowledged). Per burst it prints the datagrams sent, read by the chat's
// socket and dropped by the kernel (the socket's receive buffer full; from /proc/net/udp), the
// partner's messages recorded and the acknowledgements its process got back, and the longest
// turn of the event loop while the burst was read (the longest gap between two ticks of a zero
// timer). Exit status 1 when a single never came (the chat went deaf) or a datagram was lost
// other than by the kernel.
//
// Then a flood from the partner, beside the same flood between two plain peers: 10,000 Chinese
// messages, never more than 64 waiting for their acknowledgement (so the kernel drops none),
// from the first sent to the last acknowledged, five rounds taken in turn. It prints the
// messages a second of both, the longest turn of the chat's event loop, and the ratio of the
// medians against its bound (exit status 1 when it is missed or a message was lost).
//
// Then the autosave of a long history (396,000 lines): the time the window's thread spends in
// the save, the longest turn while it is written, and the time until it has landed, beside the
// same history written by a plain synchronous save.

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "AppState.h"
#include "BackgroundWriter.h"
#include "BenchTree.h"
#include "Chat.h"
#include "ChatForms.h"
#include "ChatHistory.h"
#include "Clock.h"
#include "Forms.h"
#include "RichTextBox.h"
#include "SafeFile.h"
#include "UdpSocket.h"

namespace {

const char* const ChatAddress = "127.0.0.1";
const char* const PartnerAddress = "127.0.0.2";
const char* const StrangerAddress = "127.0.0.3";
// The goal: the chat keeps pace with a flood, a message costing the window no more than a few
// times what a plain peer spends on acknowledging it (3 to 4 times on a busy machine and 4.7 to
// 6.7 on an idle one, where the plain peers gain more, with the rows refilled once a turn;
// refilled for every message it was 33 times).
constexpr double FloodBound = 10;

// ---- the peer: a plain socket driven by lines on its standard input ------------------------
//   burst <n> <tag>    sends "$<tag> <i>" for i = 0..n-1 as fast as it can, answers "sent"
//   single <tag> <k>   sends "$<tag> single <k>", answers "sent"
//   acks               answers "acks <count>": the datagrams received so far (the chat's
//                      acknowledgements; it drains its socket all the time)
//   flow <n> <window>  sends n Chinese messages, never more than window of them waiting for
//                      their acknowledgement, and answers "flowed <acknowledged> <ms>" once
//                      all are acknowledged, or when none came for 2 s
// The first line it prints is "port <its port>".

// A socket bound to address on a port of the system's choice, which it prints; -1 on failure.
int BindAndTell(const char* address)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in self{};
    self.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &self.sin_addr);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&self), sizeof self) != 0)
        return -1;
    socklen_t length = sizeof self;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&self), &length);
    std::printf("port %d\n", ntohs(self.sin_port));
    std::fflush(stdout);
    return fd;
}

// The messages of a flow: "你好，我们明天见 <i>" in code page 936.
QByteArray FlowMessage(int i)
{
    return "$\xC4\xE3\xBA\xC3\xA3\xAC\xCE\xD2\xC3\xC7\xC3\xF7\xCC\xEC\xBC\xFB " + QByteArray::number(i);
}

int RunPeer(const char* bindAddress, int chatPort)
{
    const int fd = BindAndTell(bindAddress);
    if (fd < 0)
        return 2;
    sockaddr_in chat{};
    chat.sin_family = AF_INET;
    chat.sin_port = htons(quint16(chatPort));
    ::inet_pton(AF_INET, ChatAddress, &chat.sin_addr);

    auto send = [&](const QByteArray& datagram) {
        while (::sendto(fd, datagram.constData(), size_t(datagram.size()), 0, reinterpret_cast<sockaddr*>(&chat), sizeof chat) < 0
               && (errno == EINTR || errno == EAGAIN || errno == ENOBUFS)) {
        }
    };
    long acks = 0;
    char buffer[65536];
    QByteArray input;
    for (;;) {
        pollfd fds[2] = {{0, POLLIN, 0}, {fd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return 2;
        while (::recv(fd, buffer, sizeof buffer, 0) >= 0)
            ++acks;
        if (!(fds[0].revents & (POLLIN | POLLHUP)))
            continue;
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0)
            return 0;
        input.append(buffer, got);
        for (qsizetype end = input.indexOf('\n'); end >= 0; end = input.indexOf('\n')) {
            const QList<QByteArray> words = input.left(end).split(' ');
            input.remove(0, end + 1);
            if (words.value(0) == "burst") {
                const int n = words.value(1).toInt();
                for (int i = 0; i < n; ++i)
                    send("$" + words.value(2) + ' ' + QByteArray::number(i));
                std::printf("sent\n");
            } else if (words.value(0) == "single") {
                send("$" + words.value(1) + " single " + words.value(2));
                std::printf("sent\n");
            } else if (words.value(0) == "acks") {
                while (::recv(fd, buffer, sizeof buffer, 0) >= 0)
                    ++acks;
                std::printf("acks %ld\n", acks);
            } else if (words.value(0) == "flow") {
                const int n = words.value(1).toInt();
                const int window = words.value(2).toInt();
                int sent = 0;
                int acknowledged = 0;
                const auto start = std::chrono::steady_clock::now();
                while (acknowledged < n) {
                    while (sent < n && sent - acknowledged < window)
                        send(FlowMessage(sent++));
                    pollfd wait{fd, POLLIN, 0};
                    if (::poll(&wait, 1, 2000) == 0)
                        break; // lost: the rest never comes
                    while (::recv(fd, buffer, sizeof buffer, 0) >= 0)
                        ++acknowledged;
                }
                acks += acknowledged;
                const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
                std::printf("flowed %d %.3f\n", acknowledged, ms.count());
            }
            std::fflush(stdout);
        }
    }
}

// ---- the reference: a plain peer that acknowledges every message as the chat does ----------
// ("#" and the message's first two characters, here the first four bytes after "$"), and
// does nothing else.

int RunEcho(const char* bindAddress)
{
    const int fd = BindAndTell(bindAddress);
    if (fd < 0)
        return 2;
    char buffer[65536];
    for (;;) {
        pollfd fds[2] = {{0, POLLIN, 0}, {fd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return 2;
        if (fds[0].revents & (POLLIN | POLLHUP))
            return 0; // the benchmark is done with it
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t got;
        while ((got = ::recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length)) >= 0) {
            buffer[0] = '#';
            ::sendto(fd, buffer, size_t(std::min<ssize_t>(got, 5)), 0, reinterpret_cast<sockaddr*>(&from), length);
            length = sizeof from;
        }
    }
}

// ---- the chat's side -------------------------------------------------------------------------

// Runs the event loop until done() holds or the time is up; false when it is up.
bool RunUntil(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// A peer process and the lines it answers.
class Peer {
public:
    Peer(const QString& program, const char* address, quint16 chatPort)
        : Peer(program, {QStringLiteral("--peer"), QString::fromLatin1(address), QString::number(chatPort)})
    {
    }
    Peer(const QString& program, const QStringList& arguments)
    {
        m_process.setProgram(program);
        m_process.setArguments(arguments);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine())
                m_lines.append(m_process.readLine().trimmed());
        });
        m_process.start();
    }
    ~Peer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    void Tell(const QByteArray& line) { m_process.write(line + '\n'); }
    // The next line it answers (empty when none came within the time).
    QByteArray Next(int ms = 30000)
    {
        if (!RunUntil([this] { return !m_lines.isEmpty(); }, ms))
            return {};
        return m_lines.takeFirst();
    }

private:
    QProcess m_process;
    QByteArrayList m_lines;
};

// Datagrams the kernel dropped for want of room in the receive buffer of the socket bound to
// 127.0.0.1:port (-1 when it cannot be read).
long KernelDrops(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray local = QByteArray::number(qToBigEndian<quint32>(0x7F000001), 16).toUpper().rightJustified(8, '0')
        + ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> columns = line.simplified().split(' ');
        if (columns.size() > 12 && columns[1] == local)
            return columns.last().toLong();
    }
    return -1;
}

// The longest gap between two ticks of a zero timer: the longest turn of the event loop.
class TurnWatch {
public:
    TurnWatch()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void Reset()
    {
        m_longest = 0;
        m_last = m_clock.nsecsElapsed();
    }
    double LongestMs() const { return m_longest / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last{0};
    qint64 m_longest{0};
};

struct Round {
    int burst{0};
    long sent{0};
    long read{0};
    long dropped{0};
    int recorded{0};
    long acks{0};
    double longestMs{0};
    bool singlesCame{true};
};

Chat* OpenChat()
{
    Chat* chat = Forms::Load<Chat>();
    if (chat)
        chat->Show();
    return chat;
}

// The chat window with its socket bound on ChatAddress; null when it cannot be.
Chat* OpenListeningChat()
{
    Chat* chat = OpenChat();
    if (!chat)
        return nullptr;
    UdpSocket& socket = chat->Session().Socket();
    socket.BindAddress = QHostAddress(QString::fromLatin1(ChatAddress));
    socket.LocalPort = 0;
    if (!socket.Bind()) {
        std::printf("chat_bench: the chat's socket cannot be bound on %s\n", ChatAddress);
        Forms::Unload(QStringLiteral("Chat"));
        return nullptr;
    }
    return chat;
}

// The bursts against the chat window; false when the chat went deaf or lost a datagram.
bool RunBursts(const QString& program, int rounds)
{
    Chat* chat = OpenListeningChat();
    if (!chat)
        return false;
    UdpSocket& socket = chat->Session().Socket();
    const quint16 port = socket.LocalPort;
    Peer partner(program, PartnerAddress, port);
    Peer stranger(program, StrangerAddress, port);
    const QByteArray partnerPort = partner.Next(), strangerPort = stranger.Next();
    if (!partnerPort.startsWith("port ") || !strangerPort.startsWith("port ")) {
        std::printf("chat_bench: the peers did not start (bind %s and %s)\n", PartnerAddress, StrangerAddress);
        return false;
    }
    socket.RemoteHost = QString::fromLatin1(PartnerAddress);
    socket.RemotePort = quint16(partnerPort.mid(5).toInt());
    if (KernelDrops(port) < 0) {
        std::printf("chat_bench: /proc/net/udp does not show the chat's socket\n");
        return false;
    }

    long read = 0;
    QByteArrayList strangerSingles;
    QObject::connect(&socket, &UdpSocket::DataArrival, [&](const QByteArray& datagram) {
        ++read;
        if (datagram.startsWith("$s") && datagram.contains(" single "))
            strangerSingles.append(datagram);
    });
    TurnWatch turns;
    bool ok = true;
    const int sizes[] = {1, 32, 33, 40, 100, 300, 1000, 2000};
    std::printf("per burst size, from each peer; the partner's messages recorded and acknowledged count its 3 singles\n");
    std::printf("%6s %6s %6s %8s %9s %6s %10s  %s\n", "burst", "sent", "read", "dropped", "recorded", "acks",
        "longest ms", "singles after it");
    for (int r = 0; r < rounds; ++r) {
        for (const int size : sizes) {
            Round round;
            round.burst = size;
            const long readBefore = read;
            const long dropsBefore = KernelDrops(port);
            const int recordedBefore = chat->Session().MessageCount();
            partner.Tell("acks");
            const long acksBefore = partner.Next().mid(5).toLong();
            turns.Reset();
            partner.Tell("burst " + QByteArray::number(size) + " p");
            stranger.Tell("burst " + QByteArray::number(size) + " s");
            partner.Next();
            stranger.Next();
            round.sent = 2L * size;
            // Everything the kernel kept is read, or the chat stopped reading. The kernel's count
            // is read only once the socket is quiet, so as not to lengthen the turns measured.
            long seen = -1;
            RunUntil([&] {
                if (read == seen)
                    return read - readBefore + KernelDrops(port) - dropsBefore >= round.sent;
                seen = read;
                return false;
            }, 10000);
            round.longestMs = turns.LongestMs();
            round.read = read - readBefore;
            round.dropped = KernelDrops(port) - dropsBefore;
            for (int k = 0; k < 3; ++k) {
                const QString partnerSingle = QStringLiteral("p single %1").arg(k);
                const QByteArray strangerSingle = "$s single " + QByteArray::number(k);
                partner.Tell("single p " + QByteArray::number(k));
                stranger.Tell("single s " + QByteArray::number(k));
                partner.Next();
                stranger.Next();
                const bool came = RunUntil([&] {
                    const QVector<ChatMessage>& m = chat->Session().Messages();
                    return !m.isEmpty() && m.last().Text == partnerSingle && strangerSingles.contains(strangerSingle);
                }, 5000);
                round.singlesCame = round.singlesCame && came;
            }
            // The acknowledgements of the last singles are on their way back.
            round.recorded = chat->Session().MessageCount() - recordedBefore;
            RunUntil([&] {
                partner.Tell("acks");
                return partner.Next().mid(5).toLong() - acksBefore >= round.recorded;
            }, 2000);
            partner.Tell("acks");
            round.acks = partner.Next().mid(5).toLong() - acksBefore;
            const bool lost = round.read + round.dropped != round.sent;
            ok = ok && round.singlesCame && !lost;
            std::printf("%6d %6ld %6ld %8ld %9d %6ld %10.2f  %s%s\n", round.burst, round.sent, round.read, round.dropped,
                round.recorded, round.acks, round.longestMs, round.singlesCame ? "all came" : "MISSING (deaf)",
                lost ? ", datagrams LOST beyond the kernel's drops" : "");
            std::fflush(stdout);
        }
    }
    Forms::Unload(QStringLiteral("Chat"));
    return ok;
}

// A flood from the partner beside the same flood between two plain peers: round after round,
// the partner sends its messages to the chat, never more than a window of them unacknowledged
// (fewer than the chat's receive buffer holds, so the kernel drops none), then the same to the
// plain peer that only acknowledges. False when a message was lost or a bound missed.
bool RunFlood(const QString& program)
{
    constexpr int messages = 10000;
    constexpr int window = 64;
    constexpr int rounds = 5;
    Chat* chat = OpenListeningChat();
    if (!chat)
        return false;
    UdpSocket& socket = chat->Session().Socket();
    Peer partner(program, PartnerAddress, socket.LocalPort);
    Peer echo(program, {QStringLiteral("--echo"), QString::fromLatin1(ChatAddress)});
    const QByteArray partnerPort = partner.Next(), echoPort = echo.Next();
    Peer reference(program, PartnerAddress, quint16(echoPort.mid(5).toInt()));
    if (!partnerPort.startsWith("port ") || !echoPort.startsWith("port ") || !reference.Next().startsWith("port ")) {
        std::printf("chat_bench: the flood's peers did not start\n");
        return false;
    }
    socket.RemoteHost = QString::fromLatin1(PartnerAddress);
    socket.RemotePort = quint16(partnerPort.mid(5).toInt());

    std::vector<double> chatMs, plainMs, longestMs;
    TurnWatch turns;
    bool ok = true;
    for (int r = 0; r < rounds && ok; ++r) {
        for (Peer* peer : {&partner, &reference}) {
            turns.Reset();
            peer->Tell("flow " + QByteArray::number(messages) + ' ' + QByteArray::number(window));
            const QList<QByteArray> words = peer->Next(120000).split(' ');
            if (words.value(1).toInt() != messages) {
                std::printf("chat_bench: %s acknowledged %d of %d messages\n", peer == &partner ? "the chat" : "the plain peer",
                    words.value(1).toInt(), messages);
                ok = false;
                break;
            }
            (peer == &partner ? chatMs : plainMs).push_back(words.value(2).toDouble());
            if (peer == &partner)
                longestMs.push_back(turns.LongestMs());
        }
    }
    if (ok) {
        QCoreApplication::processEvents();
        const QString last = chat->findChild<RichTextBox*>(QStringLiteral("Text1(9)"))->Text();
        if (last != chat->Session().Messages().last().Text) {
            std::printf("chat_bench: the bottom row does not show the last message after the flood\n");
            ok = false;
        }
    }
    Forms::Unload(QStringLiteral("Chat"));
    if (!ok)
        return false;
    const double chatMedian = BenchTree::Median(chatMs), plainMedian = BenchTree::Median(plainMs);
    std::printf("\nflood of %d messages, at most %d unacknowledged, %d rounds (medians)\n", messages, window, rounds);
    std::printf("  chat window:     %8.1f ms, %7.0f messages/s, longest turn %.2f ms\n", chatMedian,
        messages * 1000 / chatMedian, BenchTree::Median(longestMs));
    std::printf("  two plain peers: %8.1f ms, %7.0f messages/s\n", plainMedian, messages * 1000 / plainMedian);
    return BenchTree::CheckAtMost("flood: chat / two plain peers, medians", chatMedian / plainMedian, FloodBound);
}

// The autosave of a long history: the window's share beside a plain synchronous save.
void RunAutosave()
{
    BackgroundWriter::Instance().WaitForAll(); // the saves of the windows closed before
    constexpr int lines = 396000;
    QVector<ChatMessage> messages;
    messages.reserve(lines);
    for (int i = 0; i < lines; ++i)
        messages.append({QStringLiteral("你好，我们明天见 %1").arg(i), i % 2 == 1, {}});
    QElapsedTimer t;
    t.start();
    ChatHistory::Save(messages); // also the history the window loads
    const double syncMs = t.nsecsElapsed() / 1e6;

    Chat* chat = OpenChat();
    if (!chat)
        return;
    TurnWatch turns;
    QCoreApplication::processEvents();
    turns.Reset();
    t.restart();
    chat->SaveHistory();
    const double callMs = t.nsecsElapsed() / 1e6;
    std::atomic<bool> landed{false};
    BackgroundWriter::Instance().Post([&landed] { landed = true; });
    RunUntil([&] { return landed.load(); }, 30000);
    const double landedMs = t.nsecsElapsed() / 1e6;
    std::printf("autosave of %d lines: %.2f ms in the window's thread, longest turn %.2f ms while written, "
                "landed after %.0f ms; a synchronous save holds the window %.0f ms\n",
        chat->Session().MessageCount(), callMs, turns.LongestMs(), landedMs, syncMs);
    Forms::Unload(QStringLiteral("Chat"));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--peer") == 0)
        return RunPeer(argv[2], std::atoi(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "--echo") == 0)
        return RunEcho(argv[2]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    QTemporaryDir folder;
    Clock::UseReal();
    ResetState();
    State().AppPath = folder.path() + QLatin1Char('/');
    State().CurrentActivity = 16;
    RegisterChatForms();

    const QString program = QCoreApplication::applicationFilePath();
    bool ok = RunBursts(program, rounds);
    ok = RunFlood(program) && ok;
    RunAutosave();
    BackgroundWriter::Instance().WaitForAll();
    if (!ok)
        std::printf("chat_bench: FAILED\n");
    return ok ? 0 : 1;
}
