#include "Typing.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "AppState.h"
#include "Clock.h"
#include "ControlKit.h"
#include "Pinyin.h"
#include "RelatedExpressions.h"
#include "SharedPlayer.h"
#include "Twips.h"

namespace {
const QStringList kChinese{QStringLiteral("Noto Sans CJK SC")};
const QStringList kLatin{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};

constexpr double kWidth = 9300;
constexpr double kHeight = 5300;
constexpr int kBlinkTicks = 8; // toggles of the verdict; the next tick asks the next character

// The pinyin toggle's box: filled while the pinyin is shown, else transparent.
QString ShapeStyle(bool filled)
{
    return filled ? QStringLiteral("border: 1px solid black; background-color: black;")
                  : QStringLiteral("border: 1px solid black; background-color: transparent;");
}

// The close button's two pictures: raised, and pressed in.
QPixmap CloseButtonPicture(bool pressed)
{
    const int side = Twips::ToPixelsX(420);
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1, 1, side - 2, side - 2);
    p.setPen(QPen(pressed ? QColor(90, 90, 90) : QColor(150, 150, 150), 1));
    p.setBrush(pressed ? QColor(170, 40, 40) : QColor(215, 60, 60));
    p.drawRoundedRect(box, 4, 4);
    const double inset = side * 0.3 + (pressed ? 1 : 0);
    p.setPen(QPen(Qt::white, std::max(2.0, side / 10.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(inset, inset), QPointF(side - inset, side - inset));
    p.drawLine(QPointF(side - inset, inset), QPointF(inset, side - inset));
    return pm;
}
} // namespace

Typing::Typing()
    : LessonTaskWindow(QStringLiteral("Typing"))
{
    SetCaption(QStringLiteral("Pinyin typing"));
    SetSize(kWidth, kHeight);
    // The window takes the letters itself: a desktop input method would turn them into its own
    // candidates before they arrive.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhNone);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    const Kit::Look plain{.font = kLatin, .points = 10};
    Label16 = Kit::Label(this, QStringLiteral("Label16"), {240, 150, 2400, 300}, QStringLiteral("Lesson"),
        {.font = kLatin, .points = 11, .weight = QFont::Bold});
    Label17 = Kit::Label(this, QStringLiteral("Label17"), {6600, 150, 1300, 300}, {},
        {.font = kLatin, .points = 11, .align = Qt::AlignRight | Qt::AlignVCenter});
    Label18 = Kit::Label(this, QStringLiteral("Label18"), {7980, 150, 1200, 300}, QStringLiteral("characters"), plain);
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {240, 520, 8800, 300},
        QStringLiteral("Your task is to type the new words that appear in the text."), plain);
    Label20 = Kit::Label(this, QStringLiteral("Label20"), {240, 820, 8800, 300},
        QStringLiteral("To complete this task, your correctness rate must reach 80%"), {.font = kLatin, .points = 10, .ink = QColor(0, 0, 200)});

    Label1 = Kit::Label(this, QStringLiteral("Label1"), {480, 1250, 1700, 1500}, {},
        {.font = kChinese, .points = 48, .ink = QColor(0, 0, 160), .paper = QColor(255, 255, 240), .align = Qt::AlignCenter});
    Label7 = Kit::Label(this, QStringLiteral("Label7"), {2500, 1350, 1900, 300}, QStringLiteral("Phonetic symbol:"), plain);
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {4400, 1270, 2000, 450}, {},
        {.font = kLatin, .points = 16, .weight = QFont::Bold, .ink = QColor(160, 0, 0)});
    Shape1 = Kit::Label(this, QStringLiteral("Shape1"), {6600, 1390, 220, 220});
    Label11 = Kit::Label(this, QStringLiteral("Label11"), {6900, 1350, 1600, 300}, QStringLiteral("Show Pinyin"),
        {.font = kLatin, .points = 10, .underline = true, .ink = QColor(0, 0, 200)});
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {2500, 1850, 1100, 1000}, QStringLiteral("?"),
        {.font = kChinese, .points = 36, .ink = QColor(0, 120, 0), .align = Qt::AlignCenter});

    Label8 = Kit::Label(this, QStringLiteral("Label8"), {480, 3000, 1700, 420}, QStringLiteral(" "),
        {.font = kLatin, .points = 14, .paper = Qt::white});
    Label8->setFrameShape(QFrame::Box);
    Label19 = Kit::Label(this, QStringLiteral("Label19"), {480, 3460, 1700, 300}, QStringLiteral("ü = v"), plain);
    Label5 = Kit::Label(this, QStringLiteral("Label5"), {2350, 3000, 6700, 420}, {},
        {.font = kChinese, .points = 14, .paper = QColor(240, 240, 240)});
    Label6 = Kit::Label(this, QStringLiteral("Label6"), {480, 3900, 8700, 320}, {},
        {.font = kLatin, .points = 10, .weight = QFont::Bold, .ink = QColor(200, 0, 0)});
    Label10 = Kit::Label(this, QStringLiteral("Label10"), {480, 4350, 7600, 300}, {}, plain);

    Image1 = Kit::Picture(this, QStringLiteral("Image1"), {0, 0, 0, 0}, CloseButtonPicture(false));
    Image4 = Kit::Picture(this, QStringLiteral("Image4"), {0, 0, 0, 0}, CloseButtonPicture(true));
    Image1->hide();
    Image4->hide();
    Image3 = Kit::Picture(this, QStringLiteral("Image3"), {8600, 4600, 420, 420}, Image1->pixmap());
    Image3->setToolTip(QStringLiteral("Close"));

    for (QWidget* child : findChildren<QWidget*>()) {
        child->setFocusPolicy(Qt::NoFocus);
        child->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    Timer1 = new Timer(this, 400, false);
    Timer5 = new Timer(this, 500, false);
    connect(Timer1, &Timer::Tick, this, &Typing::Timer1_Timer);
    connect(Timer5, &Timer::Tick, this, &Typing::Timer5_Timer);
}

void Typing::SetLessonLabel(const QString& text) { Label16->setText(text); }

void Typing::Task_Load()
{
    m_correct = m_wrong = m_rate = 0;
    m_blinkTicks = 0;
    m_position = 0;
    m_pinyinShown = true;
    Shape1->setStyleSheet(ShapeStyle(true));
    Label11->setText(QStringLiteral("Show Pinyin"));
    InputEnabled = false;

    LoadLessonCharacters();
    if (!m_asked.isEmpty()) {
        Random::Randomize();
        m_index = Random::Index(int(m_asked.size()));
        NextCharacter();
    }
    Label1->show();
    Label4->show();
    Label16->show();
    Label10->clear();
    m_savedHint = TypingTexts::FirstHint();
}

void Typing::LoadLessonCharacters()
{
    m_asked = LessonCharacters();
    m_noCharacters = false;
    if (m_asked.isEmpty()) {
        m_noCharacters = true;
        Protocol().NoNewCharacters();
    }
}

void Typing::NextCharacter()
{
    const int n = int(m_asked.size());
    if (n == 0)
        return;
    Random::Randomize();
    m_index = m_index % n + 1;
    ++m_position;
    if (m_position > n) {
        if (Protocol().IsFrontier()) {
            // The end of a pass on the frontier: passed (closing, or going on after Cancel) or
            // failed; either way that goes on starts a fresh pass.
            if (Protocol().Graded(m_rate) == LessonTaskProtocol::Outcome::Closing)
                return;
            m_correct = m_wrong = m_rate = 0;
            Label10->setText(CountersLine(m_correct, m_wrong, m_rate));
        }
        // Outside the frontier there are no pass ends: the position starts again and the
        // counters keep adding up.
        m_position = 1;
    }
    const AskedCharacter& asked = m_asked[m_index - 1];
    Label17->setText(QStringLiteral("%1 / %2").arg(m_position).arg(n));
    Label1->setText(asked.Character);
    Label4->setText(QStringLiteral("?"));
    Label3->setText(NumberedToMarkedPinyin(asked.Syllable));
    Label3->setVisible(m_pinyinShown);
    Label6->setText(TypingTexts::TypeHint());
    m_input.SetAsked(asked.Character);
    FillRelatedList(asked.Character);
    InputEnabled = true;
    Timer5->SetEnabled(true);
}

void Typing::FillRelatedList(const QString& character)
{
    if (RelatedExpressionsFill* list = RelatedExpressionsHook().Get()) {
        QString word = character;
        list->Common03(word, false);
    }
}

void Typing::SpeakAskedCharacter()
{
    if (m_index < 1 || m_index > m_asked.size())
        return;
    const QString& syllable = m_asked[m_index - 1].Syllable;
    if (syllable.isEmpty())
        return;
    State().CurrentTone = syllable.right(1);
    PlaySoundFile(AskedSoundPath(syllable), SoundOwnerCode::Nobody);
}

void Typing::Timer5_Timer()
{
    Timer5->SetEnabled(false);
    SpeakAskedCharacter();
}

void Typing::SpeakOnClick()
{
    if (!InputEnabled)
        return;
    if (FocusLost) {
        SpeakAskedCharacter();
        FocusLost = false;
    } else {
        ReplaySound(SoundOwnerCode::Nobody);
    }
}

void Typing::Timer1_Timer()
{
    ++m_blinkTicks;
    if (m_blinkTicks <= kBlinkTicks) {
        Label6->setHidden(!Label6->isHidden());
        return;
    }
    Timer1->SetEnabled(false);
    m_blinkTicks = 0;
    NextCharacter();
}

void Typing::Label11_Click()
{
    m_pinyinShown = !m_pinyinShown;
    Shape1->setStyleSheet(ShapeStyle(m_pinyinShown));
    Label11->setText(m_pinyinShown ? QStringLiteral("Show Pinyin") : QStringLiteral("Hide Pinyin"));
    Label3->setVisible(m_pinyinShown);
}

void Typing::ShowInput()
{
    Label8->setText(m_input.TypedText());
    Label5->setText(m_input.PageText());
    Label6->setText(m_input.Hint());
}

void Typing::AppendPinyinLetter(QChar letter)
{
    if (m_input.Append(letter))
        ShowInput();
}

void Typing::DeletePinyinLetter()
{
    if (m_input.Delete())
        ShowInput();
}

void Typing::NextCandidatePage()
{
    if (m_input.NextPage())
        ShowInput();
}

void Typing::PreviousCandidatePage()
{
    if (m_input.PreviousPage())
        ShowInput();
}

void Typing::SelectCandidate(int k)
{
    const TypingCandidate* found = m_input.Pick(k);
    if (!found)
        return;
    const TypingCandidate picked = *found;
    AppState& s = State();
    s.CurrentTone = picked.Tone;
    InputEnabled = false;
    Label4->setText(picked.Character);
    if (Label1->text() == Label4->text()) {
        Label6->setText(TypingTexts::Correct());
        ++m_correct;
    } else {
        Label6->setText(TypingTexts::Wrong());
        ++m_wrong;
        FillRelatedList(picked.Character);
    }
    PlaySoundFile(s.AppPath + QStringLiteral("Phonetic Symbols/") + picked.Letter.toUpper() + QLatin1Char('/')
            + picked.Syllable + picked.SoundTone + QStringLiteral(".wav"),
        SoundOwnerCode::Nobody);
    m_rate = CorrectnessRate(m_correct, m_wrong);
    Label10->setText(CountersLine(m_correct, m_wrong, m_rate));
    m_input.Clear();
    Label8->clear();
    Label5->clear();
    Timer1->SetEnabled(true);
}

void Typing::Form_KeyDown(int& keyCode, int shift)
{
    // After a correct choice any key goes straight on to the next character.
    m_escapePressed = false;
    if (Label6->text().startsWith(QLatin1String("Correct")) && Timer1->Enabled()) {
        Timer1->SetEnabled(false);
        NextCharacter();
        m_blinkTicks = 0;
        Label6->show();
        keyCode = 0;
        return;
    }
    if (keyCode == Keys::F4) {
        LessonTaskWindow::Form_KeyDown(keyCode, shift);
        return;
    }
    if (!InputEnabled)
        return;
    const int key = keyCode;
    if (key >= 'A' && key <= 'Z')
        AppendPinyinLetter(QChar(key).toLower());
    else if (key == 8)
        DeletePinyinLetter();
    else if (key == 32)
        SelectCandidate(1);
    else if (key >= '1' && key <= '9')
        SelectCandidate(key - '0');
    else if (key == 187)
        NextCandidatePage();
    else if (key == 189)
        PreviousCandidatePage();
    else if (key == Keys::Escape)
        m_escapePressed = true;
    else
        return;
    keyCode = 0;
}

void Typing::Form_KeyUp(int& keyCode, int shift)
{
    (void)shift;
    // Esc pressed while input was open closes the window on its release, so that the release
    // never reaches the start menu the closing brings back. An Esc that skipped the verdict or
    // came while it blinked closes nothing.
    if (keyCode == Keys::Escape && m_escapePressed) {
        m_escapePressed = false;
        keyCode = 0;
        Unload();
    }
}

void Typing::Form_Activate()
{
    Label6->setText(m_savedHint);
    Label8->show();
}

void Typing::Form_Deactivate()
{
    Label8->hide();
    FocusLost = true;
    m_savedHint = Label6->text();
    Label6->setText(TypingTexts::FocusLost());
}

bool Typing::OnImage3(const QPoint& pos) const
{
    const QPoint local = Image3->mapFrom(this, pos);
    return local.x() >= 0 && local.y() >= 0 && local.x() <= Image3->width() && local.y() <= Image3->height();
}

void Typing::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::LeftButton && childAt(pos) == Image3) {
        m_closePressed = true;
        Image3->setPixmap(Image4->pixmap());
        return;
    }
    LessonTaskWindow::mousePressEvent(e);
}

void Typing::mouseMoveEvent(QMouseEvent* e)
{
    if (m_closePressed && !OnImage3(e->position().toPoint()))
        Image3->setPixmap(Image1->pixmap());
    LessonTaskWindow::mouseMoveEvent(e);
}

void Typing::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (m_closePressed) {
        m_closePressed = false;
        Image3->setPixmap(Image1->pixmap());
        if (OnImage3(pos))
            Unload();
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    QWidget* on = childAt(pos);
    if (on == Label11)
        Label11_Click();
    else if (!on || on == Label1 || on == Label3 || on == Label4)
        SpeakOnClick();
}

void Typing::Form_QueryUnload(bool& cancel)
{
    Timer5->SetEnabled(false);
    LessonTaskWindow::Form_QueryUnload(cancel);
}

void Typing::Task_Unload()
{
    Timer1->SetEnabled(false);
    Timer5->SetEnabled(false);
    m_input.Clear();
}
