#pragma once
// The chat window's rules without its widgets: the socket and its link, the history with its
// autosave, the Send button's 2 s pause, the status line and the read-aloud conversion. The
// window (Chat) shows what the signals report and passes on what the learner does.
//
// Who calls whom: datagrams reach ChatLink, which reports Confirmed/Received/NotDelivered;
// the session records them and tells the window (MessageAdded, InputDelivered, Status...).
// Reading a row aloud starts a conversion that runs one character per posted event, so
// datagrams and clicks are handled in between; clearing or closing drops it.

#include <QObject>
#include <QString>
#include <QVector>
#include <memory>

#include "ChatHistory.h"
#include "ChatLink.h"
#include "SettingRecord.h"
#include "Timer.h"
#include "UdpSocket.h"

class PairReader;

namespace ChatStatus {
inline const QString NotCorrect = QStringLiteral("The IP or port is not correct.");
inline const QString NotDelivered = QStringLiteral("The message was not delivered successfully.");
} // namespace ChatStatus

// What the learner is told when a message holds characters the partner's code page lacks.
QString NotInCodePageText(const QString& characters);

class ChatSession : public QObject {
    Q_OBJECT
public:
    explicit ChatSession(QObject* parent = nullptr);
    ~ChatSession() override;

    UdpSocket& Socket() { return m_socket; }
    ChatLink& Link() { return m_link; }

    // --- history ------------------------------------------------------------------------
    const QVector<ChatMessage>& Messages() const { return m_messages; }
    int MessageCount() const { return int(m_messages.size()); }
    // Replaces the messages by those of Record/Chat.txt.
    void LoadHistory();
    // Writes Record/Chat.txt in the background (nothing when there is no message), after the
    // saves asked before. The learner is told of the files the oldest messages went to when
    // the file would have grown past its bound (ChatHistory::Save). A failed write shows the
    // disk-write warning with its reason and leaves the changes pending, so closing tries again.
    void SaveHistory();
    // Messages recorded since the last successful save.
    bool HasUnsavedChanges() const { return m_unsaved; }
    bool AutosaveRunning() const { return m_autosave.Enabled(); }
    // The learner confirmed: no messages, no file, no autosave, no conversion.
    void ClearHistory();
    // The window closes: pending changes are saved (in the background; a failure is still
    // shown), the messages dropped, a conversion dropped and the socket closed.
    void Close();

    // --- sending ------------------------------------------------------------------------
    // Binds the partner of Record/Setting.vmq (or of record) and enables Send.
    void Connect();
    void Connect(const SettingRecord& record);
    enum class SendOutcome { Ignored, Blank, Sent, NotInCodePage, Failed };
    // Ignored while Send is disabled. Sent: Send pauses for 2 s, the input keeps its text
    // until the acknowledgement. NotInCodePage: nothing sent, a message box names the
    // characters that cannot go. Failed: the status line says so.
    SendOutcome Send(const QString& input);
    bool SendEnabled() const { return m_sendEnabled; }
    void EnableSend();
    const QString& Status() const { return m_status; }

    // --- reading aloud ------------------------------------------------------------------
    enum class ReadOutcome { Busy, Unreadable, Converting, Played, NothingToPlay };
    // Reads message index (shown as rowText) aloud: its stored syllables at once, or after a
    // conversion that starts 100 ms later. Unreadable: no Chinese character in the row (its
    // button goes off).
    ReadOutcome ReadAloud(int index, const QString& rowText);
    // Builds message index's syllables from text, one character per event, then plays them;
    // "0" is stored when nothing could be read.
    void BuildSoundSequence(const QString& text, int index);
    // From the request until the conversion ends (the window shows its progress bar).
    bool Converting() const { return m_converting; }
    void CancelConversion();

signals:
    // Message index (1-based) was recorded: a confirmed own message or a received one.
    void MessageAdded(int index, bool received);
    // The pending message was acknowledged: the input line is emptied.
    void InputDelivered();
    void SendEnabledChanged(bool enabled);
    void StatusChanged(const QString& status);
    void ConvertingChanged(bool converting);
    void ProgressChanged(int percent);
    // Message index has its syllables now ("0": its button goes off).
    void SoundBuilt(int index);

private:
    void Record(const QString& text, bool received);
    void AutosaveTick();
    void ConvertNext(quint64 generation);
    void SetStatus(const QString& status);
    void SetSendEnabled(bool enabled);
    void SetConverting(bool converting);

    UdpSocket m_socket; // the window's Winsock1
    ChatLink m_link{&m_socket};
    QVector<ChatMessage> m_messages;
    // The oldest messages already in files of their own; a load or a clear starts afresh.
    std::shared_ptr<ChatHistory::KeptPart> m_kept{std::make_shared<ChatHistory::KeptPart>()};
    bool m_unsaved{false};
    quint64 m_recorded{0}; // messages recorded so far: a save clears m_unsaved only if none came since
    quint64 m_clears{0};   // a save that finishes after a clear reports nothing
    int m_autosaveTicks{0};
    Timer m_autosave{this, 60000};  // Timer1: saves at its fifth tick
    Timer m_readStart{this, 100};   // Timer2: starts the conversion
    Timer m_sendPause{this, 2000};  // Timer3: enables Send again
    bool m_sendEnabled{true};
    QString m_status;

    bool m_converting{false};
    int m_readIndex{0};
    QString m_readText;
    std::unique_ptr<PairReader> m_reader;
    quint64 m_generation{0}; // a dropped conversion's posted steps find it changed
};
