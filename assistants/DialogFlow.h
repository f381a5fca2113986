#pragma once
// The flow of the dialogue tool without its widgets: the script, the two roles, the reply
// draw, the choice of the next dialogue, the goodbye and the search and paging of the rows.
// The window (Spoken) shows Screen() after every Changed() and forwards its clicks, the
// play-done of sound owner 6 (Common02) and nothing else; the player, the random source and
// the message boxes come in from outside, so tests drive the flow alone.
//
// Rows: row 0 holds the line just spoken or drawn (the computer's), rows 1 to 5 a page of
// five items (found opening lines in the first person's role, the current dialogue's replies
// in the second person's role).

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "DialogScript.h"

class Timer;

// Plays one dialogue sound; false when it cannot be played at all (missing or broken file).
// Its natural end comes back as DialogFlow::Common02.
class DialogPlayer {
public:
    virtual ~DialogPlayer() = default;
    virtual bool Play(const QString& path) = 0;
    virtual void Close() = 0;
};

// The draws: Reseed before each draw sequence, Rnd in [0, 1).
class DialogRandom {
public:
    virtual ~DialogRandom() = default;
    virtual void Reseed() = 0;
    virtual double Rnd() = 0;
};

struct DialogRow {
    QString Chinese;
    QString English;
    bool operator==(const DialogRow&) const = default;
};

// What the window shows: texts, enabled states and the role.
struct DialogScreen {
    std::array<DialogRow, 6> Rows;
    std::array<bool, 6> Choose{}; // rows 1..5
    std::array<bool, 6> Hear{};   // rows 0..5
    bool Previous{false};
    bool Next{false};
    bool Close{true};
    bool FirstPersonOption{true};
    bool SecondPersonOption{true};
    bool Search{true};
    bool SearchBox{true};
    bool FirstPerson{true}; // the role chosen
    QString PageLabel{QStringLiteral(" Page ")};
    bool ValueBar{false}; // the value bar follows the sound (Timer1)
};

class DialogFlow : public QObject {
    Q_OBJECT
public:
    using MessageFn = std::function<void(const QString& text)>;

    // soundFolder: where the line recordings lie (ends with "/").
    DialogFlow(DialogPlayer& player, DialogRandom& random, MessageFn warning, MessageFn notice,
        const QString& soundFolder, QObject* parent = nullptr);
    ~DialogFlow() override;

    // The window's load: the first person's role, then the script from scriptPath (read with
    // tag "SP"); a missing script is reported and leaves no dialogue.
    void Load(const QString& scriptPath);
    // The same with a script already read (tests, and Load itself).
    void LoadLines(const QStringList& lines);

    const DialogScreen& Screen() const { return m_screen; }
    const QVector<DialogRecord>& Dialogs() const { return m_dialogs; }
    const QList<int>& DialogOrder() const { return m_order; }
    int RemainingCount() const { return m_remaining; }
    int CurrentDialogPos() const { return m_currentPos; }
    int PageNo() const { return m_pageNo; }
    int PageCount() const { return m_pageCount; }
    int ChosenReply() const { return m_chosenReply; }
    const QStringList& History() const { return m_history; }

    // The window's controls.
    void Option1_Click();
    void Option2_Click();
    void Command1_Click(int index); // choose row index (1..5)
    void Command2_Click(int index); // hear row index (0..5)
    void Command3_Click(const QString& searchText);
    void Command4_Click();
    void Command5_Click();
    // Play-done of sound owner 6.
    void Common02();
    // Adds a search text to the history unless it is there already (case counts).
    bool AddSearchHistory(const QString& text);

    // The file a line plays.
    QString SoundPath(const DialogLine& line) const;

signals:
    void Changed();
    void SearchTextSet(const QString& text); // the search box shows text
    void HistoryAdded(const QString& text);
    void FocusSearchBox();
    void FocusRow(int index);
    void ValueBarReset();
    void CloseWindow(); // the second person's goodbye is over

private:
    void ResetDialogScreen();
    void PlayRowLine(int index);
    void PlayLine(const QString& path);
    void StartPartnerDialog();
    void RemoveFinishedDialog(int position, const QString& replyText);
    void PickNextDialog(const QString& replyText);
    void RemoveListValue(int value);
    void ListReplies();
    void ShowPage();
    void EnableAfterFirstPersonSound();
    void Timer2_Timer();
    void Timer4_Timer();
    const DialogRecord* Current() const;
    const DialogRecord* Found(int row) const; // the found dialogue of a row on this page
    void SetRow(int index, const DialogLine& line);
    void ClearRow(int index) { m_screen.Rows[index] = {}; }
    void Update() { emit Changed(); }

    DialogPlayer& m_player;
    DialogRandom& m_random;
    MessageFn m_warning;
    MessageFn m_notice;
    QString m_soundFolder;

    QVector<DialogRecord> m_dialogs;
    QList<int> m_order; // DialogOrder: dialogue numbers the computer may still open
    int m_remaining{0}; // RemainingCount; -1 after the computer's goodbye
    int m_currentPos{0};
    QList<int> m_found;
    int m_pageNo{1};
    int m_pageCount{0};
    int m_selectedRow{0};
    int m_chosenReply{0};
    bool m_rowChosen{false};
    bool m_replyPending{false};
    QStringList m_history;
    quint64 m_playSerial{0}; // drops the stand-in end of a play that could not start, once stale

    DialogScreen m_screen;
    Timer* Timer2{nullptr}; // 1000 ms: pause before the dialogue's next step
    Timer* Timer4{nullptr}; // 800 ms: the notice after loading eight dialogues
};
