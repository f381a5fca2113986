#include "DialogFlow.h"

#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>

#include "AppState.h"
#include "CodedFile.h"
#include "SafeFile.h"
#include "Timer.h"

namespace {

const DialogLine ComputerGoodbye{QStringLiteral("再见！"), QStringLiteral("Bye-Bye.")};
const DialogLine LearnerGoodbye{QStringLiteral("再见！"), QStringLiteral("Good-Bye.")};
const QString GoodbyeSound = QStringLiteral("b.wav");
const QString SearchHint = QStringLiteral("Search 搜索");
const QString Sorry = QStringLiteral("Sorry 对不起.");

int Draw(DialogRandom& random, int n) { return std::clamp(int(random.Rnd() * n), 0, n - 1) + 1; }

} // namespace

DialogFlow::DialogFlow(DialogPlayer& player, DialogRandom& random, MessageFn warning, MessageFn notice,
    const QString& soundFolder, QObject* parent)
    : QObject(parent)
    , m_player(player)
    , m_random(random)
    , m_warning(std::move(warning))
    , m_notice(std::move(notice))
    , m_soundFolder(soundFolder)
{
    Timer2 = new Timer(this, 1000, false);
    Timer4 = new Timer(this, 800, false);
    connect(Timer2, &Timer::Tick, this, &DialogFlow::Timer2_Timer);
    connect(Timer4, &Timer::Tick, this, &DialogFlow::Timer4_Timer);
}

DialogFlow::~DialogFlow() = default;

void DialogFlow::Load(const QString& scriptPath)
{
    Option1_Click();
    if (!QFileInfo::exists(SafeFile::Native(scriptPath))) {
        m_warning(QStringLiteral("Fail to find file 'Script.vmq'."));
        LoadLines({});
        return;
    }
    ReadCodedLines(scriptPath, QStringLiteral("SP"), 0);
    const QStringList lines = State().LineBuffer;
    State().LineBuffer.clear();
    State().LineCount = 0;
    LoadLines(lines);
}

void DialogFlow::LoadLines(const QStringList& lines)
{
    const DialogScript script = ParseDialogScript(lines);
    for (const QString& w : script.Warnings)
        m_warning(w);
    m_dialogs = script.Dialogs;
    // A dialogue without replies can be heard as the first person's opening line, but the
    // computer never opens it: the learner would have no reply to choose.
    m_order.clear();
    for (int d = 1; d <= m_dialogs.size(); ++d)
        if (m_dialogs[d - 1].ReplyCount() > 0)
            m_order << d;
    m_remaining = int(m_order.size());
    m_currentPos = 0;
    if (m_dialogs.size() == 8)
        Timer4->SetEnabled(true);
    Update();
}

QString DialogFlow::SoundPath(const DialogLine& line) const
{
    return m_soundFolder + DialogSoundFileName(line.English);
}

const DialogRecord* DialogFlow::Current() const
{
    if (m_currentPos < 1 || m_currentPos > m_order.size())
        return nullptr;
    const int d = m_order[m_currentPos - 1];
    return d >= 1 && d <= m_dialogs.size() ? &m_dialogs[d - 1] : nullptr;
}

const DialogRecord* DialogFlow::Found(int row) const
{
    const int item = (m_pageNo - 1) * 5 + row;
    if (row < 1 || item < 1 || item > m_found.size())
        return nullptr;
    return &m_dialogs[m_found[item - 1] - 1];
}

void DialogFlow::SetRow(int index, const DialogLine& line) { m_screen.Rows[index] = {line.Chinese, line.English}; }

void DialogFlow::ResetDialogScreen()
{
    m_screen.ValueBar = false;
    Timer2->SetEnabled(false);
    ++m_playSerial;
    m_player.Close();
    for (int k = 0; k <= 5; ++k) {
        ClearRow(k);
        m_screen.Choose[k] = false;
        m_screen.Hear[k] = false;
    }
    m_screen.Previous = false;
    m_screen.Next = false;
}

void DialogFlow::PlayLine(const QString& path)
{
    const quint64 serial = ++m_playSerial;
    if (m_player.Play(path))
        return;
    // A sound that cannot be played ends at once, so the dialogue goes on; from the event
    // loop, as a real end would come, and only while nothing else was played meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            if (serial == m_playSerial)
                Common02();
        },
        Qt::QueuedConnection);
}

void DialogFlow::Option1_Click()
{
    m_screen.FirstPerson = true;
    m_screen.SearchBox = true;
    m_screen.Search = true;
    ResetDialogScreen();
    Update();
    emit FocusSearchBox();
}

void DialogFlow::Option2_Click()
{
    m_screen.FirstPerson = false;
    m_screen.SearchBox = false;
    m_screen.Search = false;
    ResetDialogScreen();
    m_pageNo = 1;
    m_pageCount = 1;
    if (m_remaining > 0) {
        m_random.Reseed();
        m_currentPos = Draw(m_random, m_remaining);
        StartPartnerDialog();
    } else {
        m_currentPos = 0;
        Timer2_Timer();
    }
    Update();
}

void DialogFlow::StartPartnerDialog()
{
    const DialogRecord* dialog = Current();
    if (!dialog)
        return;
    SetRow(0, dialog->Lines[0]);
    for (int k = 1; k <= 5; ++k)
        ClearRow(k);
    m_screen.FirstPersonOption = false;
    m_screen.Close = false;
    m_screen.ValueBar = true;
    Update();
    PlayLine(SoundPath(dialog->Lines[0]));
}

void DialogFlow::Command1_Click(int index)
{
    if (index < 1 || index > 5 || !m_screen.Choose[index])
        return;
    m_rowChosen = true;
    if (m_screen.FirstPerson) {
        for (int k = 1; k <= 5; ++k) {
            m_screen.Choose[k] = false;
            m_screen.Hear[k] = false;
            if (k != index)
                ClearRow(k);
        }
        m_screen.Hear[0] = false;
        if (m_pageCount >= 2) {
            m_screen.Previous = false;
            m_screen.Next = false;
        }
    } else {
        ClearRow(0);
        for (int k = 0; k <= 5; ++k) {
            m_screen.Choose[k] = false;
            m_screen.Hear[k] = false;
        }
    }
    m_selectedRow = index;
    PlayRowLine(index);
}

void DialogFlow::Command2_Click(int index)
{
    if (index < 0 || index > 5 || !m_screen.Hear[index])
        return;
    m_rowChosen = false;
    PlayRowLine(index);
}

void DialogFlow::PlayRowLine(int index)
{
    m_screen.ValueBar = false;
    m_screen.Close = false;
    QString path;
    if (!m_screen.FirstPerson) {
        m_screen.FirstPersonOption = false;
        const DialogRecord* dialog = Current();
        if (m_remaining > 0 && dialog) {
            const int reply = (m_pageNo - 1) * 5 + index;
            if (index == 0)
                path = SoundPath(dialog->Lines[0]);
            else if (reply >= 1 && reply <= dialog->ReplyCount())
                path = SoundPath(dialog->Lines[reply]);
        } else {
            path = m_soundFolder + GoodbyeSound;
        }
    } else {
        m_screen.Search = false;
        m_screen.Previous = false;
        m_screen.Next = false;
        m_screen.SearchBox = false;
        m_screen.FirstPersonOption = false;
        m_screen.SecondPersonOption = false;
        if (index >= 1 && index != m_selectedRow) {
            m_screen.Hear[0] = false;
            ClearRow(0);
        }
        if (index >= 1) {
            if (const DialogRecord* dialog = Found(index)) {
                path = SoundPath(dialog->Lines[0]);
                RemoveListValue(m_found[(m_pageNo - 1) * 5 + index - 1]);
            }
        } else if (const DialogRecord* dialog = Found(m_selectedRow);
                   dialog && m_chosenReply >= 1 && m_chosenReply <= dialog->ReplyCount()) {
            path = SoundPath(dialog->Lines[m_chosenReply]);
        }
    }
    m_screen.ValueBar = true;
    Update();
    emit FocusRow(index);
    PlayLine(path);
}

void DialogFlow::RemoveListValue(int value)
{
    if (m_remaining <= 0)
        return;
    const qsizetype at = m_order.indexOf(value);
    if (at < 0)
        return;
    m_order.removeAt(at);
    m_remaining = int(m_order.size());
}

void DialogFlow::Common02()
{
    m_screen.ValueBar = false;
    emit ValueBarReset();
    if (m_screen.FirstPerson) {
        const DialogRecord* dialog = Found(m_selectedRow);
        if (m_rowChosen && dialog && dialog->ReplyCount() > 0) {
            m_random.Reseed();
            m_chosenReply = Draw(m_random, dialog->ReplyCount());
            SetRow(0, dialog->Lines[m_chosenReply]);
            Timer2->SetEnabled(true);
            m_replyPending = true;
            Update();
            return;
        }
        // An opening line without replies has no answer to wait for.
        m_rowChosen = false;
        if (m_replyPending) {
            m_replyPending = false;
            m_screen.Hear[0] = true;
            const int onPage = std::min(5, int(m_found.size()) - (m_pageNo - 1) * 5);
            for (int k = 1; k <= onPage; ++k) {
                m_screen.Choose[k] = true;
                m_screen.Hear[k] = true;
            }
        }
        EnableAfterFirstPersonSound();
        Update();
        emit FocusSearchBox();
        return;
    }
    if (m_rowChosen) {
        Timer2->SetEnabled(true);
        Update();
        return;
    }
    if (m_remaining < 1) {
        m_pageNo = 1;
        m_pageCount = 1;
        m_screen.PageLabel = QStringLiteral("1 / 1");
        SetRow(1, LearnerGoodbye);
        for (int k = 2; k <= 5; ++k)
            ClearRow(k);
        m_screen.Choose[1] = true;
        m_screen.Hear[1] = true;
        m_screen.Hear[0] = true;
        m_screen.Close = true;
    } else if (!m_screen.Choose[1] && Current()) {
        ListReplies();
    } else {
        m_screen.Hear[0] = true;
        m_screen.Close = true;
        m_screen.FirstPersonOption = true;
    }
    Update();
}

void DialogFlow::EnableAfterFirstPersonSound()
{
    m_screen.Search = true;
    m_screen.Previous = m_pageCount >= 2 && m_pageNo > 1;
    m_screen.Next = m_pageCount >= 2 && m_pageNo < m_pageCount;
    m_screen.Close = true;
    m_screen.FirstPersonOption = true;
    m_screen.SecondPersonOption = true;
    m_screen.SearchBox = true;
}

void DialogFlow::ListReplies()
{
    const DialogRecord* dialog = Current();
    const int count = dialog->ReplyCount();
    m_pageNo = 1;
    m_pageCount = DialogPageCount(count);
    m_screen.PageLabel = QStringLiteral("%1 / %2").arg(m_pageNo).arg(m_pageCount);
    m_screen.FirstPersonOption = true;
    m_screen.Next = m_pageCount >= 2;
    m_screen.Previous = false;
    const int n = std::min(5, count);
    for (int k = 1; k <= n; ++k) {
        SetRow(k, dialog->Lines[k]);
        m_screen.Choose[k] = true;
        m_screen.Hear[k] = true;
    }
    m_screen.Hear[0] = true;
    m_screen.Close = true;
}

void DialogFlow::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    if (m_screen.FirstPerson) {
        m_rowChosen = false;
        const DialogRecord* dialog = Found(m_selectedRow);
        if (!dialog || m_chosenReply < 1 || m_chosenReply > dialog->ReplyCount())
            return;
        m_screen.ValueBar = true;
        Update();
        PlayLine(SoundPath(dialog->Lines[m_chosenReply]));
        return;
    }
    if (m_remaining == -1) {
        emit CloseWindow();
        return;
    }
    if (m_remaining == 0) {
        m_rowChosen = false;
        SetRow(0, ComputerGoodbye);
        m_screen.FirstPersonOption = false;
        for (int k = 1; k <= 5; ++k) {
            ClearRow(k);
            m_screen.Choose[k] = false;
        }
        m_screen.ValueBar = true;
        m_remaining = -1;
        Update();
        PlayLine(m_soundFolder + GoodbyeSound);
        return;
    }
    m_rowChosen = false;
    const DialogRecord* dialog = Current();
    const int reply = (m_pageNo - 1) * 5 + m_selectedRow;
    const QString text = dialog && reply >= 1 && reply <= dialog->ReplyCount() ? dialog->Lines[reply].Chinese : QString();
    RemoveFinishedDialog(m_currentPos, text);
}

void DialogFlow::RemoveFinishedDialog(int position, const QString& replyText)
{
    if (position >= 1 && position <= m_order.size())
        m_order.removeAt(position - 1);
    m_remaining = int(m_order.size());
    if (m_remaining < 1) {
        Timer2->SetEnabled(true);
        return;
    }
    PickNextDialog(replyText);
}

void DialogFlow::PickNextDialog(const QString& replyText)
{
    QList<int> best;
    int bestScore = -1;
    for (int i = 1; i <= m_remaining; ++i) {
        const int score = DialogFitScore(replyText, m_dialogs[m_order[i - 1] - 1].Lines[0].Chinese);
        if (score > bestScore) {
            bestScore = score;
            best.clear();
        }
        if (score == bestScore)
            best << i;
    }
    m_random.Reseed();
    m_currentPos = best[Draw(m_random, int(best.size())) - 1];
    StartPartnerDialog();
}

void DialogFlow::Command3_Click(const QString& searchText)
{
    if (!m_screen.Search || searchText == Sorry || searchText == SearchHint)
        return;
    QString trimmed = searchText;
    while (trimmed.startsWith(u' '))
        trimmed.remove(0, 1);
    while (trimmed.endsWith(u' '))
        trimmed.chop(1);
    if (trimmed.isEmpty())
        return;
    m_found = SearchOpenings(m_dialogs, trimmed);
    for (int k = 1; k <= std::min<int>(5, int(m_found.size())); ++k)
        SetRow(k, m_dialogs[m_found[k - 1] - 1].Lines[0]);
    if (m_found.isEmpty()) {
        emit SearchTextSet(Sorry);
        for (int k = 0; k <= 5; ++k) {
            ClearRow(k);
            m_screen.Choose[k] = false;
            m_screen.Hear[k] = false;
        }
    }
    if (AddSearchHistory(trimmed))
        emit HistoryAdded(trimmed);
    m_pageCount = DialogPageCount(int(m_found.size()));
    m_pageNo = 1;
    m_screen.PageLabel = QStringLiteral("%1 / %2").arg(m_pageNo).arg(m_pageCount);
    m_screen.Next = m_pageCount >= 2;
    m_screen.Previous = false;
    for (int k = int(m_found.size()) + 1; k <= 5; ++k) {
        ClearRow(k);
        m_screen.Choose[k] = false;
        m_screen.Hear[k] = false;
    }
    ClearRow(0);
    for (int k = 1; k <= std::min<int>(5, int(m_found.size())); ++k) {
        m_screen.Choose[k] = true;
        m_screen.Hear[k] = true;
    }
    m_screen.Hear[0] = false;
    Update();
    if (m_screen.SearchBox)
        emit FocusSearchBox();
}

void DialogFlow::Command4_Click()
{
    if (!m_screen.Previous)
        return;
    --m_pageNo;
    if (m_pageNo <= 1)
        m_screen.Previous = false;
    m_screen.Next = true;
    ShowPage();
}

void DialogFlow::Command5_Click()
{
    if (!m_screen.Next)
        return;
    ++m_pageNo;
    if (m_pageNo >= m_pageCount)
        m_screen.Next = false;
    m_screen.Previous = true;
    ShowPage();
}

void DialogFlow::ShowPage()
{
    const DialogRecord* dialog = Current();
    const int count = m_screen.FirstPerson ? int(m_found.size()) : dialog ? dialog->ReplyCount() : 0;
    for (int k = 1; k <= 5; ++k) {
        const int item = (m_pageNo - 1) * 5 + k;
        if (item > count) {
            ClearRow(k);
            m_screen.Choose[k] = false;
            m_screen.Hear[k] = false;
            continue;
        }
        SetRow(k, m_screen.FirstPerson ? m_dialogs[m_found[item - 1] - 1].Lines[0] : dialog->Lines[item]);
        m_screen.Choose[k] = true;
        m_screen.Hear[k] = true;
    }
    m_screen.Hear[0] = false;
    ClearRow(0);
    m_selectedRow = 0;
    m_screen.PageLabel = QStringLiteral("%1 / %2").arg(m_pageNo).arg(m_pageCount);
    Update();
}

void DialogFlow::Timer4_Timer()
{
    Timer4->SetEnabled(false);
    m_notice(QStringLiteral("No files for dialogs were found."));
}

bool DialogFlow::AddSearchHistory(const QString& text)
{
    if (m_history.contains(text, Qt::CaseSensitive))
        return false;
    m_history << text;
    return true;
}
