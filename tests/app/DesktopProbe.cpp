// The whole program on the desktop platform, started as the program starts, with a line of
// commands on its standard input so that the desktop checks (activation_check.sh,
// stack_check.sh) can open study and tool stacks, answer the typing task and read controls,
// while they drive keys and clicks through the window manager and read frames with xwininfo.
//
// Commands, one a line; each answer ends with a line "ok":
//   study <button>     the course panel's row button (Command1 element) is clicked
//   tool <row>         the Assistants menu's row (1..8) is opened
//   close              the open task or tool window unloads
//   frontier <l> <s>   the learner's frontier becomes lesson l, step s (in memory only)
//   testpartner        the chat opens (or closes) its test partner, as F3 does
//   press <form> <ctl> the button is clicked once this command has answered (a button that
//                      opens a dialog returns when the dialog closes)
//   pass right|wrong   the typing task is answered to the end of its pass by keys sent to it:
//                      every character right, or enough of them wrong to stay below 80 %
//   windows            "win <form> <native id>" for every visible form
//   stack              "own <name> <native id> <owner's native id, 0 for none>" for every
//                      visible form, then "box <title> <id> <owner's id>" for every visible
//                      message box or file dialog of ours
//   activity           "activity <CurrentActivity>" (0 once the course panel's turn has come)
//   asking             "asking 1" while one of our message boxes is asked for, else "asking 0"
//   text <form> <ctl>  "text <the control's text>" (a label, a line or a combo box; of a text
//                      box, its first line with runs of blanks collapsed)
//   place <form> <ctl> "place <x> <y>": the control's centre in its window's pixels
//   look <word>        the local dictionary looks the word up
//   rows <form> <ctl>  "rows <n> <h>": the rows of a list, or the lines of a text box, that
//                      are wholly in view, and the height of the view in pixels
//   settext <form> <ctl> <text>  the line or combo box shows text (the rest of the line)
//   service            the on-line dictionary asks a loopback service of the probe's own,
//                      which answers every word with a list of one word
//   quiz wrong         the sentence quiz is answered with an option that is not the right one
//   focus <form>       "focus <the name of the form's control that has the focus>"
//   popup <form> <char>  the character pop-up shows the character over that form's window, as
//                      a selection in its text box opens it
// When the course panel, or instead of the start menu the code-page help window, is first
// shown the probe prints "ready".

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

#include "AppState.h"
#include "Begin.h"
#include "Begin1.h"
#include "Begin4.h"
#include "Chat.h"
#include "Dictionary.h"
#include "FindSentence.h"
#include "Forms.h"
#include "ListView.h"
#include "LoopbackService.h"
#include "MsgBox.h"
#include "ProgramForms.h"
#include "StudyStacks.h"
#include "ToolStacks.h"
#include "Typing.h"
#include "TypingRules.h"
#include "Zoom.h"

namespace {

void Say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// The keys that answer the asked character, as the window's own input finds the candidates:
// its letters, the page keys and the digit of the asked character (right), or "a" and a
// character other than the asked one (wrong).
QList<int> AnswerKeys(const QString& asked, bool right)
{
    QString letters = QStringLiteral("a");
    if (right)
        for (const AskedCharacter& a : LessonCharacters())
            if (a.Character == asked) {
                letters.clear();
                for (QChar c : a.Syllable)
                    if (c.isLetter())
                        letters += c == QChar(0xFC) ? QLatin1Char('v') : c.toLower();
                break;
            }
    PinyinInput input;
    input.SetAsked(asked);
    QList<int> keys;
    for (QChar c : letters)
        if (input.Append(c))
            keys << Qt::Key_A + (c.unicode() - 'a');
    const QVector<TypingCandidate>& candidates = input.Candidates();
    qsizetype at = 0;
    for (qsizetype i = 0; i < candidates.size(); ++i)
        if ((candidates[i].Character == asked) == right) {
            at = i;
            break;
        }
    for (qsizetype p = 0; p < at / PinyinInput::PageSize; ++p)
        keys << Qt::Key_Equal;
    keys << Qt::Key_1 + int(at % PinyinInput::PageSize);
    return keys;
}

// Answers the typing task, one character per turn, until the pass ends with its message.
class TypingDriver : public QObject {
public:
    explicit TypingDriver(bool right)
        : m_right(right)
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
        m_timer.start();
    }

private:
    void Step()
    {
        // One pass: the answer to its last character brings the pass's message.
        auto* typing = Forms::Find<Typing>();
        const int n = int(LessonCharacters().size());
        if (!typing || m_answered >= n) {
            m_timer.stop();
            deleteLater();
            return;
        }
        if (MsgBox::IsShowing() || !typing->InputEnabled)
            return;
        const bool right = m_right || m_wrong > n / 5;
        const QString asked = typing->findChild<QLabel*>(QStringLiteral("Label1"))->text();
        m_timer.stop();
        ++m_answered;
        if (!right)
            ++m_wrong;
        const QList<int> keys = AnswerKeys(asked, right);
        for (int key : keys)
            QTest::keyClick(typing, Qt::Key(key));
        if (right && Forms::Find<Typing>() == typing)
            QTest::keyClick(typing, Qt::Key_Space); // skips the verdict's blinking
        m_timer.start();
    }

    QTimer m_timer;
    bool m_right;
    int m_answered{0};
    int m_wrong{0};
};

QWidget* Control(const QString& form, const QString& control)
{
    Form* f = Forms::Find(form);
    return f ? f->findChild<QWidget*>(control) : nullptr;
}

QString ControlText(const QString& form, const QString& control)
{
    QWidget* w = Control(form, control);
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return line->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* box = qobject_cast<QTextEdit*>(w))
        return box->toPlainText().section(QLatin1Char('\n'), 0, 0).simplified();
    return QStringLiteral("?");
}

int RowsInView(const ListView& list)
{
    int whole = 0;
    for (int k = 1; k <= list.ItemCount(); ++k)
        whole += list.IsItemVisible(k) ? 1 : 0;
    return whole;
}

// The lines of the box's text that lie wholly inside its view.
int LinesInView(const QTextEdit& box)
{
    const QTextDocument* document = box.document();
    const double top = box.verticalScrollBar()->value();
    const double height = box.viewport()->height();
    int whole = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QRectF at = document->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double y = at.top() + line.y() - top;
            whole += y >= 0 && y + line.height() <= height ? 1 : 0;
        }
    }
    return whole;
}

void OpenTool(int rowNumber)
{
    const ToolLauncher* row = nullptr;
    for (const ToolLauncher& r : ToolLaunchers())
        if (r.Row == rowNumber)
            row = &r;
    Begin* menu = Forms::Find<Begin>();
    if (!row || !menu)
        return;
    if (!Forms::Find<Begin4>() || !Forms::Find<Begin4>()->isVisible())
        menu->Image3_Click(2);
    if (Begin4* panel = Forms::Find<Begin4>())
        if (auto* open = panel->findChild<QPushButton*>(QLatin1String(row->Button)))
            open->click();
}

void CloseStack()
{
    if (const StudyLauncher* study = LauncherForCode(State().CurrentActivity))
        Forms::Unload(StudyWindowName(study->Task));
    for (const ToolLauncher& r : ToolLaunchers())
        if (r.Code == State().CurrentActivity)
            Forms::Unload(QLatin1String(r.Tool));
}

void Run(const QStringList& words)
{
    const QString command = words.value(0);
    if (command == QLatin1String("study")) {
        if (Begin1* panel = Forms::Find<Begin1>())
            panel->Command1_Click(words.value(1).toInt());
    } else if (command == QLatin1String("tool")) {
        OpenTool(words.value(1).toInt());
    } else if (command == QLatin1String("close")) {
        CloseStack();
    } else if (command == QLatin1String("frontier")) {
        State().CurrentLesson = qint16(words.value(1).toInt());
        State().CurrentStep = qint16(words.value(2).toInt());
    } else if (command == QLatin1String("testpartner")) {
        if (Chat* chat = Forms::Find<Chat>())
            chat->ToggleTestPartner();
    } else if (command == QLatin1String("press")) {
        if (Form* f = Forms::Find(words.value(1)))
            if (auto* button = f->findChild<QAbstractButton*>(words.value(2)))
                QTimer::singleShot(0, button, &QAbstractButton::click);
    } else if (command == QLatin1String("pass")) {
        new TypingDriver(words.value(1) == QLatin1String("right"));
    } else if (command == QLatin1String("windows")) {
        for (Form* f : Forms::LoadedForms())
            if (f->isVisible())
                Say(QStringLiteral("win %1 %2").arg(f->FormName()).arg(f->winId()));
    } else if (command == QLatin1String("stack")) {
        for (Form* f : Forms::LoadedForms())
            if (f->isVisible())
                Say(QStringLiteral("own %1 %2 %3")
                        .arg(f->FormName())
                        .arg(f->winId())
                        .arg(f->Owner() ? f->Owner()->winId() : 0));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowType() == Qt::Dialog)
                Say(QStringLiteral("box %1 %2 %3")
                        .arg(w->windowTitle().section(QLatin1Char(' '), 0, 0))
                        .arg(w->winId())
                        .arg(w->parentWidget() ? w->parentWidget()->window()->winId() : 0));
    } else if (command == QLatin1String("asking")) {
        Say(QStringLiteral("asking %1").arg(MsgBox::IsShowing() ? 1 : 0));
    } else if (command == QLatin1String("activity")) {
        Say(QStringLiteral("activity %1").arg(State().CurrentActivity));
    } else if (command == QLatin1String("text")) {
        Say(QStringLiteral("text ") + ControlText(words.value(1), words.value(2)));
    } else if (command == QLatin1String("look")) {
        if (Dictionary* dictionary = Forms::Find<Dictionary>()) {
            QString word = words.value(1);
            dictionary->Common01(word, false);
        }
    } else if (command == QLatin1String("rows")) {
        Form* f = Forms::Find(words.value(1));
        QWidget* w = f ? f->findChild<QWidget*>(words.value(2)) : nullptr;
        if (auto* list = qobject_cast<ListView*>(w))
            Say(QStringLiteral("rows %1 %2").arg(RowsInView(*list)).arg(list->viewport()->height()));
        else if (auto* box = qobject_cast<QTextEdit*>(w))
            Say(QStringLiteral("rows %1 %2").arg(LinesInView(*box)).arg(box->viewport()->height()));
    } else if (command == QLatin1String("place")) {
        Form* f = Forms::Find(words.value(1));
        const QWidget* w = f ? f->findChild<QWidget*>(words.value(2)) : nullptr;
        if (w) {
            const QPoint centre = w->mapTo(f, w->rect().center());
            Say(QStringLiteral("place %1 %2").arg(centre.x()).arg(centre.y()));
        }
    } else if (command == QLatin1String("service")) {
        auto* service = new LoopbackService; // goes with the application
        service->setParent(qApp);
        service->SetDefault({200, "text/html; charset=utf-8",
            "<body>Result of Pin1 Yin1 search:<table><tr><td><a href=x>\xe5\xa5\xbd</a></td><td>xx xx</td></tr></table></body>",
            false});
        qputenv("VELMORA_ONLINE_SERVICE", service->Address().toUtf8());
    } else if (command == QLatin1String("quiz")) {
        if (FindSentence* quiz = Forms::Find<FindSentence>()) {
            const QString wrong = Forms::IndexedName("Command2", (quiz->CorrectOption() + 1) % 3);
            if (auto* button = quiz->findChild<QAbstractButton*>(wrong))
                button->click();
        }
    } else if (command == QLatin1String("focus")) {
        Form* f = Forms::Find(words.value(1));
        const QWidget* w = f ? f->focusWidget() : nullptr;
        Say(QStringLiteral("focus ") + (w ? w->objectName() : QString()));
    } else if (command == QLatin1String("popup")) {
        Form* f = Forms::Find(words.value(1));
        if (Zoom* zoom = Forms::Find<Zoom>(); zoom && f)
            zoom->ChaZhao(words.value(2), QString(), QString(), f->Left(), 0, f->Width() / 3, f->Top(), 0, f->Height() / 3, 130);
    } else if (command == QLatin1String("settext")) {
        if (QWidget* w = Control(words.value(1), words.value(2))) {
            const QString text = words.mid(3).join(QLatin1Char(' '));
            if (auto* line = qobject_cast<QLineEdit*>(w))
                line->setText(text);
            else if (auto* combo = qobject_cast<QComboBox*>(w))
                combo->setEditText(text);
        }
    }
    Say(QStringLiteral("ok"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterProgramForms();

    // Commands run from the event loop (a message box they open keeps reading the next ones).
    QSocketNotifier commands(0, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&commands, &QSocketNotifier::activated, [&commands, &pending] {
        char buffer[4096];
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0) {
            commands.setEnabled(false);
            QCoreApplication::exit(0);
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QStringList words = QString::fromUtf8(pending.left(end)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            pending.remove(0, end + 1);
            QTimer::singleShot(0, [words] { Run(words); });
        }
    });
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, [&ready] {
        const Begin1* panel = Forms::Find<Begin1>();
        const Form* help = Forms::Find(QStringLiteral("StartOrNot"));
        if (((panel && panel->isVisible()) || (help && help->isVisible())) && !MsgBox::IsShowing()) {
            ready.stop();
            Say(QStringLiteral("ready"));
        }
    });
    ready.start(100);

    if (!Forms::Load(QStringLiteral("RegisterOCX")) || Forms::LoadedNames().isEmpty())
        return 1;
    return QApplication::exec();
}
