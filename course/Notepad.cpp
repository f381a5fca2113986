#include "Notepad.h"

#include <QPalette>
#include <QPushButton>
#include <algorithm>

#include "AppState.h"
#include "Background.h"
#include "ControlKit.h"
#include "Forms.h"
#include "MsgBox.h"
#include "QuestionNotes.h"
#include "RecordFolder.h"
#include "Timer.h"
#include "TutorMail.h"
#include "Twips.h"

namespace {
constexpr double FormWidth = 10500;
constexpr double FormHeight = 1200;
constexpr double Margin = 120;
constexpr double ButtonWidth = 1080;
constexpr double ButtonHeight = 420;
constexpr int TicksBeforeSaving = 5;

const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};

QString QuestionFile() { return RecordPath(QStringLiteral("Question.txt")); }
} // namespace

NoteBox::NoteBox(QWidget* parent)
    : PlainTextBox(parent)
{
}

QString NoteBox::Text() const { return WithCrLf(toPlainText()); }

void NoteBox::SetText(const QString& text)
{
    QString plain = WithCrLf(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
}

void NoteBox::mousePressEvent(QMouseEvent* e)
{
    emit MouseDown();
    PlainTextBox::mousePressEvent(e);
}

void NoteBox::focusOutEvent(QFocusEvent* e)
{
    PlainTextBox::focusOutEvent(e);
    emit LostFocus();
}

Notepad::Notepad()
    : Form(QStringLiteral("Notepad"))
{
    SetCaption(QStringLiteral("Questions"));
    SetSize(FormWidth, FormHeight);
    SetKeyPreview(true);

    Text1 = new NoteBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Kit::SetLook(Text1, {.font = SansFamilies, .points = 10});
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {0, 0, ButtonWidth, ButtonHeight}, QStringLiteral("Send"),
        {.font = SansFamilies, .points = 9, .weight = QFont::Bold});
    Command1->setToolTip(QStringLiteral("Send your questions to your tutor."));
    Timer1 = new Timer(this, 60000);
    Form_Resize();

    connect(Text1, &QPlainTextEdit::textChanged, this, &Notepad::Text1_Change);
    connect(Text1, &NoteBox::MouseDown, this, &Notepad::Text1_MouseDown);
    connect(Text1, &NoteBox::LostFocus, this, &Notepad::Text1_LostFocus);
    connect(Command1, &QPushButton::clicked, this, &Notepad::Command1_Click);
    connect(Timer1, &Timer::Tick, this, &Notepad::Timer1_Timer);
    connect(&TutorOutbox::Instance(), &TutorOutbox::Changed, this, &Notepad::FollowOutbox);
    FollowOutbox();
}

void Notepad::Form_Resize()
{
    // The course panel gives the notepad the text window's width.
    const double boxWidth = std::max(Width() - ButtonWidth - 3 * Margin, 600.0);
    Twips::Place(Text1, Margin, Margin, boxWidth, std::max(Height() - 2 * Margin, 300.0));
    Twips::Place(Command1, Margin + boxWidth + Margin, Margin, ButtonWidth, ButtonHeight);
}

void Notepad::Form_Load()
{
    if (const std::optional<QString> kept = ReadQuestions(QuestionFile())) {
        const QSignalBlocker quiet(Text1);
        Text1->SetText(*kept);
        m_changed = false;
    } else {
        // Shown as a change, as the box's first text always was: closing writes the empty line
        // that tells the next opening the prompt has been seen.
        Text1->SetText(QuestionPrompt());
    }
}

void Notepad::Form_Unload()
{
    SaveQuestions();
    m_ticks = 0;
    Timer1->SetEnabled(false);
}

void Notepad::Text1_Change()
{
    if (m_changed)
        return;
    m_changed = true;
    Timer1->SetEnabled(true);
}

void Notepad::Timer1_Timer()
{
    if (++m_ticks < TicksBeforeSaving)
        return;
    m_ticks = 0;
    Timer1->SetEnabled(false);
    SaveQuestions();
}

void Notepad::SaveQuestions()
{
    if (!m_changed)
        return;
    EnsureRecordFolder();
    if (!WriteQuestions(QuestionFile(), Text1->Text()))
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
    m_changed = false;
}

void Notepad::Text1_MouseDown()
{
    if (IsQuestionPrompt(Text1->Text()))
        Text1->clear();
}

void Notepad::Text1_LostFocus()
{
    if (Text1->Text().isEmpty())
        Text1->SetText(QuestionPrompt());
}

void Notepad::Command1_Click()
{
    const AppState& s = State();
    const QString text = Text1->Text();
    const SendProblem problem = CheckQuestionsToSend(s.TutorMailbox, s.UserName, text);
    if (problem != SendProblem::None) {
        MsgBox::Show(SendProblemText(problem), MsgBox::OkOnly, MsgBox::Information, QStringLiteral("Attention"));
        return;
    }
    // Send is off until the mail program has answered (FollowOutbox). Sent, or handed to the
    // desktop's composer: nothing to say. The text stays either way. The result may come after
    // this window has closed: it is said all the same, without reaching into the window.
    TutorOutbox::Instance().Send(TutorMailKind::Questions, s.TutorMailbox, QuestionsSubject(s.UserName, s.ViewedLesson),
        text, [](MailSender::Result sent) {
            if (sent == MailSender::Result::Failed)
                MsgBox::Warning(SendFailedText());
            else if (sent == MailSender::Result::MaybeSent)
                MsgBox::Warning(SendUncertainText());
        });
}

void Notepad::FollowOutbox()
{
    // One mail of questions at a time, from whichever notepad: a second one would mail them twice.
    Command1->setEnabled(!TutorOutbox::Instance().Going(TutorMailKind::Questions));
}

QWidget* Notepad::KeysAfter(QWidget* control) { return control == Command1 ? Text1 : Form::KeysAfter(control); }

void Notepad::Form_KeyDown(int& keyCode, int)
{
    Background::MinimiseOnF4(keyCode);
}
