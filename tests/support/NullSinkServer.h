#pragma once
// A private PulseAudio server with one null sink, standing in for a sound card: the real audio
// tests and the speech benchmark play through it. It ends with this process, even when a test
// crashes it.

#include <QProcess>
#include <QTemporaryDir>

class NullSinkServer {
public:
    NullSinkServer() = default;
    NullSinkServer(const NullSinkServer&) = delete;
    NullSinkServer& operator=(const NullSinkServer&) = delete;
    ~NullSinkServer();

    // Starts the server and points this process at it (PULSE_SERVER); false when PulseAudio is
    // missing or the server does not come up.
    bool Start();
    // Ends the server; the process stays pointed at it, so sound fails as on a lost server.
    void Stop();

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};
