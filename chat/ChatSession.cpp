#include "ChatSession.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "BlankTrim.h"
#include "CodePage.h"
#include "MsgBox.h"
#include "PairReading.h"
#include "RecordFolder.h"
#include "SyllableQueue.h"
#include "TextFilters.h"

QString NotInCodePageText(const QString& characters)
{
    return QStringLiteral("Your partner cannot read these characters: %1\r\nPlease remove them and send the "
                          "message again.")
        .arg(characters);
}

ChatSession::ChatSession(QObject* parent) : QObject(parent)
{
    connect(&m_link, &ChatLink::Confirmed, this, [this](const QString& text) {
        Record(text, false);
        emit InputDelivered();
        SetStatus(QString());
    });
    connect(&m_link, &ChatLink::Received, this, [this](const QString& text) { Record(text, true); });
    connect(&m_link, &ChatLink::NotDelivered, this, [this] { SetStatus(ChatStatus::NotDelivered); });
    connect(&m_autosave, &Timer::Tick, this, &ChatSession::AutosaveTick);
    connect(&m_sendPause, &Timer::Tick, this, [this] {
        m_sendPause.SetEnabled(false);
        SetSendEnabled(true);
    });
    connect(&m_readStart, &Timer::Tick, this, [this] {
        m_readStart.SetEnabled(false);
        BuildSoundSequence(m_readText, m_readIndex);
    });
}

ChatSession::~ChatSession() = default;

void ChatSession::LoadHistory()
{
    CancelConversion();
    m_messages = ChatHistory::Load();
    m_kept = std::make_shared<ChatHistory::KeptPart>();
    m_unsaved = false;
}

void ChatSession::SaveHistory()
{
    if (m_messages.isEmpty())
        return;
    ChatHistory::SaveLater(m_messages, m_kept, this,
        [this, recorded = m_recorded, clears = m_clears](const ChatHistory::SaveOutcome& outcome) {
            if (clears != m_clears)
                return; // the learner cleared the history meanwhile
            if (!outcome.Ok)
                ShowDiskWriteWarning(RecordFolder(), outcome.Failure);
            else if (recorded == m_recorded)
                m_unsaved = false;
        });
}

void ChatSession::ClearHistory()
{
    CancelConversion();
    m_messages.clear();
    m_kept = std::make_shared<ChatHistory::KeptPart>();
    ChatHistory::Remove();
    ++m_clears;
    m_autosave.SetEnabled(false);
    m_unsaved = false;
}

void ChatSession::Close()
{
    CancelConversion();
    m_autosave.SetEnabled(false);
    if (m_unsaved && !m_messages.isEmpty()) {
        // The window goes before the file is written: the warning comes from the program.
        ChatHistory::SaveLater(m_messages, m_kept, QCoreApplication::instance(),
            [](const ChatHistory::SaveOutcome& outcome) {
                if (!outcome.Ok)
                    ShowDiskWriteWarning(RecordFolder(), outcome.Failure);
            });
    }
    m_messages.clear();
    m_unsaved = false;
    m_sendPause.SetEnabled(false);
    m_socket.Close();
}

void ChatSession::Record(const QString& text, bool received)
{
    // Own texts are cleaned like received ones, so every message stays one line of the file.
    m_messages.append({ChatWire::CleanReceived(text), received, {}});
    ++m_recorded;
    m_unsaved = true;
    emit MessageAdded(MessageCount(), received);
    if (!m_autosave.Enabled()) {
        m_autosaveTicks = 0;
        m_autosave.SetEnabled(true);
    }
}

void ChatSession::AutosaveTick()
{
    if (++m_autosaveTicks < 5)
        return;
    m_autosaveTicks = 0;
    m_autosave.SetEnabled(false);
    SaveHistory();
}

void ChatSession::Connect()
{
    EnsureRecordFolder();
    Connect(ReadSettingRecord());
}

void ChatSession::Connect(const SettingRecord& record)
{
    SetSendEnabled(true);
    m_link.Connect(record);
}

ChatSession::SendOutcome ChatSession::Send(const QString& input)
{
    if (!m_sendEnabled)
        return SendOutcome::Ignored;
    switch (m_link.Send(input)) {
    case ChatLink::SendResult::Blank:
        return SendOutcome::Blank;
    case ChatLink::SendResult::NotInCodePage:
        MsgBox::Show(NotInCodePageText(CodePage::Outside936(input)), MsgBox::OkOnly, MsgBox::Information,
            QStringLiteral("Attention"));
        return SendOutcome::NotInCodePage;
    case ChatLink::SendResult::Failed:
        SetStatus(ChatStatus::NotCorrect);
        return SendOutcome::Failed;
    case ChatLink::SendResult::Sent:
        break;
    }
    SetSendEnabled(false);
    m_sendPause.SetEnabled(true);
    return SendOutcome::Sent;
}

void ChatSession::EnableSend()
{
    SetSendEnabled(true);
}

ChatSession::ReadOutcome ChatSession::ReadAloud(int index, const QString& rowText)
{
    if (m_converting)
        return ReadOutcome::Busy;
    if (index < 1 || index > MessageCount())
        return ReadOutcome::Unreadable;
    ChatMessage& message = m_messages[index - 1];
    const QString text = HanziOnly(BlankTrim(rowText));
    if (text.isEmpty()) {
        message.Sound = QStringLiteral("0");
        return ReadOutcome::Unreadable;
    }
    if (message.Sound.isEmpty()) {
        m_readText = text;
        m_readIndex = index;
        SetConverting(true);
        m_readStart.SetEnabled(true);
        return ReadOutcome::Converting;
    }
    if (message.Sound == QLatin1String("0"))
        return ReadOutcome::NothingToPlay;
    PlayPinyinSequence(message.Sound);
    return ReadOutcome::Played;
}

void ChatSession::BuildSoundSequence(const QString& text, int index)
{
    m_reader = std::make_unique<PairReader>(text);
    m_readIndex = index;
    SetConverting(true);
    ConvertNext(++m_generation);
}

void ChatSession::ConvertNext(quint64 generation)
{
    if (generation != m_generation || !m_reader)
        return; // dropped by a clear or a close
    m_reader->Step();
    emit ProgressChanged(m_reader->Percent());
    if (generation != m_generation)
        return; // the progress report let the learner clear the history
    if (!m_reader->AtEnd()) {
        QMetaObject::invokeMethod(this, [this, generation] { ConvertNext(generation); }, Qt::QueuedConnection);
        return;
    }
    QString sound = m_reader->Syllables();
    m_reader.reset();
    if (sound.isEmpty())
        sound = QStringLiteral("0");
    if (m_readIndex >= 1 && m_readIndex <= MessageCount())
        m_messages[m_readIndex - 1].Sound = sound;
    SetConverting(false);
    emit ProgressChanged(0);
    emit SoundBuilt(m_readIndex);
    if (sound != QLatin1String("0"))
        PlayPinyinSequence(sound);
}

void ChatSession::CancelConversion()
{
    ++m_generation;
    m_reader.reset();
    m_readStart.SetEnabled(false);
    if (m_converting) {
        SetConverting(false);
        emit ProgressChanged(0);
    }
}

void ChatSession::SetStatus(const QString& status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit StatusChanged(m_status);
}

void ChatSession::SetSendEnabled(bool enabled)
{
    if (enabled == m_sendEnabled)
        return;
    m_sendEnabled = enabled;
    emit SendEnabledChanged(enabled);
}

void ChatSession::SetConverting(bool converting)
{
    if (converting == m_converting)
        return;
    m_converting = converting;
    emit ConvertingChanged(converting);
}
