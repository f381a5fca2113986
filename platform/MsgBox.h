#pragma once
// Message boxes of the program, through one service so tests can record them and answer
// on cue. Values follow the old message box: buttons, icons and results.

#include <QList>
#include <QString>
#include <functional>

namespace MsgBox {

enum Buttons { OkOnly = 0, OkCancel = 1, YesNo = 4 };
enum Icon { NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum DefaultButton { DefaultFirst = 0, DefaultSecond = 256 };
enum Result { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Shows a modal box and returns the button pressed. Closing the box without a button gives
// Cancel for OkCancel, No for YesNo, Ok for OkOnly. While the program ends, no box opens: the
// text goes to standard error and the answer is that of a closed box.
Result Show(const QString& text, Buttons buttons = OkOnly, Icon icon = NoIcon, const QString& title = QString(),
    DefaultButton def = DefaultFirst);

// The usual boxes of the program.
inline void Warning(const QString& text) { Show(text, OkOnly, Exclamation, QStringLiteral("Warning")); }
inline void Notice(const QString& text) { Show(text, OkOnly, Information, QStringLiteral("Notice")); }

// True while one of our own message boxes is open.
bool IsShowing();

struct Shown {
    QString text;
    QString title;
    Buttons buttons;
    Icon icon;
    DefaultButton def;
};

// Test hook: while installed, boxes are not shown; each is recorded and answered by the
// queued answers (in order), then by the default button.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Answer(Result r) { m_answers.append(r); }
    // Called while a box is "open", before it returns (to look at windows meanwhile).
    void OnShow(std::function<void(const Shown&)> f) { m_onShow = std::move(f); }
    const QList<Shown>& Boxes() const { return m_boxes; }
    QStringList Texts() const;
    void Clear() { m_boxes.clear(); }

    Result Take(const Shown& s);

private:
    QList<Shown> m_boxes;
    QList<Result> m_answers;
    std::function<void(const Shown&)> m_onShow;
};

} // namespace MsgBox
