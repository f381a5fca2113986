#pragma once
// Opening a web address or a mail link with the desktop's default handler (xdg-open on
// Linux desktops). The result is not reported: a missing browser or mail program fails
// silently, as the old shell call did. Tests install a Recorder instead of launching programs.

#include <QList>
#include <QUrl>

namespace Shell {

void Open(const QUrl& target);

// Test hook: while installed, targets are recorded and nothing is launched.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const QList<QUrl>& Opened() const { return m_opened; }
    void Take(const QUrl& target) { m_opened.append(target); }

private:
    QList<QUrl> m_opened;
};

} // namespace Shell
