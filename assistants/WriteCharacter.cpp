#include "WriteCharacter.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <utility>

#include "ControlKit.h"
#include "Forms.h"
#include "Samples.h"
#include "Twips.h"

namespace {

constexpr double FormWidth = 7725;
constexpr double FormHeight = 6375;
constexpr double CloseWidth = 1100;
constexpr double CloseRightGap = 180;
constexpr int DotPixels = 6;
const QColor DotInk(0, 0, 0);
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};

} // namespace

WriteCharacter::WriteCharacter()
    : ToolWindow(QStringLiteral("WriteCharacter"), FormWidth, FormHeight)
{
    SetCaption(QStringLiteral("Writing Chinese characters"));
    const Kit::Look look{.font = Sans, .points = 8.25};
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {120, 90, 5400, 480},
        QStringLiteral("You can learn to write Chinese words (characters) here. There are hundreds of samples on the "
                       "right."),
        {.font = Sans, .points = 8.25, .ink = QColor(0, 0, 128), .wrap = true});
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {120, 5640, 0, 0},
        QStringLiteral("Write  -  left click and drag the cursor"), look);
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {120, 5940, 0, 0}, QStringLiteral("Clear  -  right click"), look);
    Command1 = Kit::Button(this, QStringLiteral("Command1"),
        {FormWidth - CloseWidth - CloseRightGap, 5760, CloseWidth, 400}, QStringLiteral("Close"), look);
    connect(Command1, &QPushButton::clicked, this, &WriteCharacter::Command1_Click);
}

void WriteCharacter::Form_Load() { Form_Resize(); }

void WriteCharacter::Form_Resize()
{
    // The Assistants menu gives the pad the dictionary's width less the samples': the
    // button keeps to the right edge.
    Twips::Place(Command1, Width() - CloseWidth - CloseRightGap, 5760, CloseWidth, 400);
    m_drawing.Cover(size());
}

void WriteCharacter::Command1_Click() { Unload(); }

void WriteCharacter::Tool_Unload()
{
    if (Samples* samples = Forms::Find<Samples>(); samples && !samples->IsUnloading())
        samples->Unload();
}

void WriteCharacter::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        PenDown = true;
        Plot(e->position().toPoint());
    } else {
        ClearPad();
    }
    e->accept();
}

void WriteCharacter::mouseMoveEvent(QMouseEvent* e)
{
    if (PenDown)
        Plot(e->position().toPoint());
    e->accept();
}

void WriteCharacter::mouseReleaseEvent(QMouseEvent* e)
{
    PenDown = false;
    e->accept();
}

void WriteCharacter::paintEvent(QPaintEvent*)
{
    m_drawing.Paint(this);
}

void WriteCharacter::Plot(QPoint at)
{
    m_drawing.Dot(at, DotInk, DotPixels, true);
    update();
}

void WriteCharacter::ClearPad()
{
    m_drawing.Clear();
    update();
}
