#pragma once
// A private PulseAudio server with one null sink, standing in for a sound card: the real audio
// tests and the speech benchmark play through it. It ends with this process, even when a test
// crashes it.
//
// It stays off every D-Bus session bus: on a desktop (DISPLAY set, a session bus running) each
// server would otherwise take the one name a session has for a sound server, and a second one
// started alongside (another test program, the benchmark, the learner's own server) would end
// at once. Started the same on a desktop as in CI, it fails only for a reason of ours.

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

class NullSinkServer {
public:
    NullSinkServer() = default;
    NullSinkServer(const NullSinkServer&) = delete;
    NullSinkServer& operator=(const NullSinkServer&) = delete;
    ~NullSinkServer();

    // Starts the server and points this process at it (PULSE_SERVER); false when PulseAudio is
    // missing (Installed() false) or the server does not come up (Failure() says why).
    bool Start();
    // Ends the server; the process stays pointed at it, so sound fails as on a lost server.
    void Stop();

    // Whether the pulseaudio program is there at all: without it there is nothing to start.
    bool Installed() const;
    // Why the last Start() failed, with what the server wrote.
    QByteArray Failure() const { return m_failure; }

private:
    bool Fail(const QByteArray& why, const QByteArray& log);

    QTemporaryDir m_dir;
    QProcess m_server;
    QByteArray m_failure;
};
