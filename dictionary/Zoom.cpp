#include "Zoom.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QWindow>

#include "AppState.h"
#include "Background.h"
#include "Forms.h"
#include "Pinyin.h"
#include "TextFilters.h"
#include "Timer.h"
#include "Twips.h"
#include "WavePlayer.h"

namespace {

const QColor NormalInk(0, 0, 192);
const QColor RedInk(255, 0, 0);
const QColor StrokeInk(0, 0, 255); // the window's foreground colour
constexpr int DrawWidth = 4;       // pixels: the size of one stroke point

const QStringList SansFamilies{QStringLiteral("Noto Sans CJK SC")};

Kit::Look ReadingLook()
{
    return {.font = {QStringLiteral("Noto Serif CJK SC")},
            .points = 21.75,
            .weight = QFont::Bold,
            .ink = NormalInk,
            .align = Qt::AlignCenter};
}

// The placement works in single precision, as the pop-up always did.
PopupAnchor Anchor(double formLeft, double ctlLeft, double X, double formTop, double ctlTop, double Y, qint16 offset)
{
    return {float(formLeft), float(ctlLeft), float(X), float(formTop), float(ctlTop), float(Y), float(offset)};
}

} // namespace

Zoom::Zoom()
    : Form(QStringLiteral("Zoom"))
{
    SetBorderless(true);
    setWindowFlag(Qt::Tool, true); // no entry of its own in the taskbar
    setMouseTracking(true);
    SetKeyPreview(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, StrokeInk);
    setPalette(pal);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Kit::SetInk(Shape1, Qt::black);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Design caption; every look-up replaces it. Moves over it count as moves over the window.
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {ZoomGeometry::CharacterLeft, ZoomGeometry::ReadingHeight},
                        QStringLiteral("字"), {.font = SansFamilies, .points = 72, .ink = RedInk});
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    QLabel* reading = Label2.Add(0, Kit::Label(this, Label2.Name(0),
                                               {ZoomGeometry::ReadingLeft, ZoomGeometry::ReadingTop,
                                                ZoomGeometry::ReadingWidth, ZoomGeometry::ReadingHeight},
                                               {}, ReadingLook()));
    reading->hide();
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {}, QStringLiteral("88 / 88"),
                        {.font = SansFamilies, .points = 8.25, .ink = Qt::black, .align = Qt::AlignRight | Qt::AlignVCenter});
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {}, QStringLiteral("Penstrokes:"),
                        {.font = SansFamilies, .points = 8.25, .ink = QColor(128, 128, 128)});

    Timer1 = new Timer(this, 400, false);
    Timer2 = new Timer(this, 20, false);
    MMControl1 = new WavePlayer(this);

    Label2.OnMouseMove([this](int k) { Label2_MouseMove(k); });
    Label2.OnClick([this](int k) { Label2_Click(k); });
    connect(Timer1, &Timer::Tick, this, &Zoom::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &Zoom::Timer2_Timer);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &Zoom::ActiveWindowChanged);
}

void Zoom::Form_Load()
{
    MMControl1->SetNotify(false);
    MMControl1->SetDeviceType(QStringLiteral("WaveAudio"));
    Label1->move(Twips::ToPixelsX(ZoomGeometry::CharacterLeft), Twips::ToPixelsY(ZoomGeometry::ReadingHeight));
    SetSize(CharacterWidth() + ZoomGeometry::StrokeAreaGap,
            ZoomGeometry::ReadingHeight + Twips::FromPixelsY(Label1->height()));
    // The counter stands in the top right corner of the double-width window: out of sight
    // while the window has single width.
    const int right = 2 * Twips::ToPixelsX(Width());
    Label3->move(right - Label3->width() - 6, 3);
    Label4->move(Label3->x() - Label4->width() - 3, Label3->y());
    Label3->setText(QString());
}

void Zoom::Form_Unload()
{
    MMControl1->Close();
    ShownReadingCount = 0;
}

void Zoom::Form_Resize()
{
    Shape1->setGeometry(0, 0, width(), height());
    m_drawing.Cover(size());
}

void Zoom::Form_Deactivate()
{
    Hide();
    Timer2->SetEnabled(false);
    MMControl1->Close();
}

void Zoom::hideEvent(QHideEvent* e)
{
    Form::hideEvent(e);
    if (IsDown())
        QMetaObject::invokeMethod(this, [this] { if (IsDown()) Form_Deactivate(); }, Qt::QueuedConnection);
}

void Zoom::Form_KeyDown(int& keyCode, int)
{
    Background::MinimiseOnF4(keyCode);
}

void Zoom::mouseMoveEvent(QMouseEvent* e)
{
    Form_MouseMove();
    Form::mouseMoveEvent(e);
}

void Zoom::paintEvent(QPaintEvent*)
{
    m_drawing.Paint(this);
}

void Zoom::ChaZhao(const QString& ch, const QString& prevCh, const QString& nextCh, double formLeft, double ctlLeft,
                   double X, double formTop, double ctlTop, double Y, qint16 offset)
{
    if (HasNonHanzi(ch))
        return;
    ClearReadings(ch);
    const PopupContent content = LookUpCharacter(ch, prevCh, nextCh);
    if (content.RecordIndex == 0) {
        // Not in the table: the big character alone, the window neither placed nor shown.
        ShownReadingCount = 0;
        LayOut();
        return;
    }
    const PopupLayout layout = LayOutPopup(int(content.Labels.size()), 0, 0);
    for (int j = 1; j <= content.Labels.size(); ++j)
        AddReading(j, content.Labels.at(j - 1).Text, content.Labels.at(j - 1).ToolTip, layout.ReadingTops.at(j - 1));
    RecordIndex = qint16(content.RecordIndex);
    ShownReadingCount = qint16(content.Labels.size());
    LayOut();
    CharacterMode = true;
    if (content.Choice.Red)
        SetReadingColour(content.Choice.Spoken, true);
    if (content.Choice.Spoken > 0)
        Label2_Click(content.Choice.Spoken);
    PlacePopup(ch, Anchor(formLeft, ctlLeft, X, formTop, ctlTop, Y, offset));
}

void Zoom::ShowPinYin(const QString& text, const QString& pinyin, double formLeft, double ctlLeft, double X,
                      double formTop, double ctlTop, double Y, qint16 offset)
{
    ClearReadings(text);
    AddReading(1, NumberedToMarkedPinyin(pinyin), QString(), ZoomGeometry::ReadingTop);
    ShownReadingCount = 1;
    LayOut();
    GivenPinyin = StripPunctuation(pinyin);
    CharacterMode = false;
    Label2_Click(1);
    PlacePopup(text, Anchor(formLeft, ctlLeft, X, formTop, ctlTop, Y, offset));
}

void Zoom::ClearReadings(const QString& text)
{
    for (int j = 1; j <= ShownReadingCount; ++j)
        Label2.Remove(j);
    ShownReadingCount = 0;
    Label1->setText(text);
    Label1->adjustSize();
    m_hover.Reset();
    SetReadingColour(0, false);
}

void Zoom::AddReading(int index, const QString& text, const QString& toolTip, double top)
{
    QLabel* label = Label2.Add(index, Kit::Label(this, Label2.Name(index),
                                                 {ZoomGeometry::ReadingLeft, top, ZoomGeometry::ReadingWidth,
                                                  ZoomGeometry::ReadingHeight},
                                                 text, ReadingLook()));
    label->setToolTip(toolTip);
    label->show();
}

void Zoom::LayOut()
{
    const PopupLayout layout =
        LayOutPopup(ShownReadingCount, CharacterWidth(), Twips::FromPixelsY(Label1->height()));
    Label1->move(Twips::ToPixelsX(ZoomGeometry::CharacterLeft), Twips::ToPixelsY(layout.CharacterTop));
    SetSize(layout.Width, layout.Height);
}

void Zoom::PlacePopup(const QString& text, const PopupAnchor& anchor)
{
    const QString path = StrokeFilePath(State().AppPath, text);
    const bool hasStrokes = !path.isEmpty() && QFileInfo(path).isFile();
    const double width = PopupWidth(CharacterWidth(), hasStrokes);
    SetSize(width, Height());
    if (hasStrokes)
        LoadStrokeFile(path);
    const PopupScreen screen{float(Twips::ScreenWidth()), float(Twips::ScreenHeight()), float(State().TaskbarHeight)};
    const QPointF at = ::PlacePopup(anchor, float(width), float(Height()), screen);
    Move(at.x(), at.y());
    m_lastActive = QApplication::activeWindow();
    Show(Modeless, Forms::Find<Background>());
    activateWindow();
}

void Zoom::LoadStrokeFile(const QString& path)
{
    ClearDrawing();
    m_animation.Load(::LoadStrokeFile(path));
    Timer2->SetEnabled(true);
}

void Zoom::Timer2_Timer()
{
    const StrokeTick tick = m_animation.Advance();
    if (tick.Draw) {
        const double lastTop = ShownReadingCount > 0 && Label2[ShownReadingCount]
                                   ? Twips::FromPixelsY(Label2[ShownReadingCount]->y())
                                   : 0;
        const QPointF at = StrokeDotPosition(tick.Point, CharacterWidth(), ShownReadingCount, lastTop);
        m_drawing.Dot(QPointF(Twips::ToPixelsX(at.x()), Twips::ToPixelsY(at.y())), StrokeInk, DrawWidth);
        update();
    }
    if (tick.SetCounter)
        Label3->setText(tick.Counter);
    if (tick.Clear)
        ClearDrawing();
    if (tick.Stop)
        Timer2->SetEnabled(false);
}

void Zoom::ClearDrawing()
{
    m_drawing.Clear();
    update();
}

void Zoom::Label2_Click(int index)
{
    if (!PopupMaySpeak())
        return;
    Timer1->SetEnabled(false);
    if (index < 1 || index > ShownReadingCount)
        return;
    ReadingSound sound;
    if (CharacterMode) {
        const QVector<CharacterRecord>& table = State().CharacterTable;
        if (RecordIndex < 1 || RecordIndex > table.size() || index > table.at(RecordIndex - 1).ReadingCount())
            return;
        sound = CharacterReadingSound(table.at(RecordIndex - 1).Readings.at(index - 1));
    } else {
        sound = GivenPinyinSound(GivenPinyin);
    }
    PlayReadingSound(*MMControl1, sound);
}

void Zoom::Label2_MouseMove(int index)
{
    if (index < 1)
        return;
    const HoverChange change = m_hover.MoveOver(index);
    if (change.StopTimer)
        Timer1->SetEnabled(false);
    SetReadingColour(change.Normal, false);
    SetReadingColour(change.Red, true);
    if (change.StartTimer)
        Timer1->SetEnabled(true);
}

void Zoom::Form_MouseMove()
{
    const HoverChange change = m_hover.MoveOver(0);
    if (change.StopTimer)
        Timer1->SetEnabled(false);
    SetReadingColour(change.Normal, false);
}

void Zoom::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    const int index = m_hover.Fire();
    if (index > 0)
        Label2_Click(index);
}

void Zoom::SetReadingColour(int index, bool red)
{
    // Index 0 is the template, which the new labels copy: always the normal colour.
    if (QLabel* label = Label2[index]; label && (index > 0 || !red))
        Kit::SetInk(label, red ? RedInk : NormalInk);
}

double Zoom::CharacterWidth() const
{
    return Twips::FromPixelsX(Label1->width());
}

void Zoom::ActiveWindowChanged()
{
    QWidget* now = QApplication::activeWindow();
    if (now == m_lastActive)
        return;
    m_lastActive = now;
    if (isVisible() && now != this && qobject_cast<Form*>(now))
        Form_Deactivate();
}
