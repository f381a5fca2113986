#include "ControlKit.h"

#include <QCheckBox>
#include <QEvent>
#include <QGraphicsEffect>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "TextBoxes.h"
#include "Twips.h"

namespace Kit {

namespace {

// Names the control, places it at its twip rectangle (or sizes it to its content) and gives
// it its look.
template <class W> W* Make(W* control, const QString& name, const Rect& at, const Look& look)
{
    control->setObjectName(name);
    SetLook(control, look);
    if (at.width > 0 && at.height > 0) {
        Twips::Place(control, at.left, at.top, at.width, at.height);
    } else {
        control->adjustSize();
        control->move(Twips::ToPixelsX(at.left), Twips::ToPixelsY(at.top));
        const int width = at.width > 0 ? Twips::ToPixelsX(at.width) : control->width();
        const int height = at.height > 0 ? Twips::ToPixelsY(at.height) : control->height();
        control->resize(width, height);
    }
    return control;
}

// Selects the whole text of a box on a double click, instead of a word.
class SelectAllOnDoubleClick : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonDblClick)
            return false;
        static_cast<QLineEdit*>(watched)->selectAll();
        return true;
    }
};

} // namespace

void SetInk(QWidget* control, const QColor& ink)
{
    // Enabled controls only: a disabled one keeps the greyed text that says so.
    QPalette pal = control->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, ink);
        pal.setColor(group, QPalette::Text, ink);
        pal.setColor(group, QPalette::ButtonText, ink);
    }
    control->setPalette(pal);
}

void SetPaper(QWidget* widget, const QColor& paper)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, paper);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

namespace {
// Draws the control's own picture over copies of it in one colour, shifted by a pixel left,
// right, up and down: a thin ring around every stroke of the text.
class OutlineEffect : public QGraphicsEffect {
public:
    OutlineEffect(const QColor& color, QObject* parent)
        : QGraphicsEffect(parent)
        , m_color(color)
    {
    }

protected:
    QRectF boundingRectFor(const QRectF& rect) const override { return rect.adjusted(-1, -1, 1, 1); }

    void draw(QPainter* painter) override
    {
        QPoint offset;
        const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::PadToEffectiveBoundingRect);
        if (source.isNull())
            return;
        QPixmap ring(source.size());
        ring.setDevicePixelRatio(source.devicePixelRatio());
        ring.fill(Qt::transparent);
        {
            QPainter p(&ring);
            p.drawPixmap(0, 0, source);
            p.setCompositionMode(QPainter::CompositionMode_SourceIn);
            p.fillRect(QRect(QPoint(0, 0), source.size()), m_color);
        }
        const QTransform world = painter->worldTransform();
        painter->setWorldTransform(QTransform());
        for (const QPoint step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            painter->drawPixmap(offset + step, ring);
        painter->drawPixmap(offset, source);
        painter->setWorldTransform(world);
    }

private:
    QColor m_color;
};
} // namespace

void SetLook(QWidget* control, const Look& look)
{
    // A look that asks nothing of the font leaves the control inheriting the form's.
    if (!look.font.isEmpty() || look.points > 0 || look.weight != QFont::Normal || look.underline) {
        QFont f = control->font();
        if (!look.font.isEmpty())
            f.setFamilies(look.font);
        if (look.points > 0)
            f.setPointSizeF(look.points);
        f.setWeight(look.weight);
        f.setUnderline(look.underline);
        control->setFont(f);
    }
    if (look.ink.isValid())
        SetInk(control, look.ink);
    if (look.paper.isValid()) {
        SetPaper(control, look.paper);
        QPalette pal = control->palette();
        pal.setColor(QPalette::Base, look.paper);
        control->setPalette(pal);
    }
    if (look.outline.isValid())
        control->setGraphicsEffect(new OutlineEffect(look.outline, control));
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (look.align)
            label->setAlignment(look.align);
        label->setWordWrap(look.wrap);
    }
}

QLabel* Label(QWidget* form, const QString& name, const Rect& at, const QString& text, const Look& look)
{
    return Make(new QLabel(text, form), name, at, look);
}

QPushButton* Button(QWidget* form, const QString& name, const Rect& at, const QString& caption, const Look& look)
{
    auto* button = Make(new QPushButton(caption, form), name, at, look);
    button->setCursor(Qt::PointingHandCursor);
    // Qt's buttons take Return only inside a dialog; ours are on forms. A button that may take
    // Return draws itself as the default one while it has the focus, as the old ones did.
    button->setAutoDefault(true);
    return button;
}

QCheckBox* CheckBox(QWidget* form, const QString& name, const Rect& at, const QString& caption, const Look& look)
{
    return Make(new QCheckBox(caption, form), name, at, look);
}

QRadioButton* OptionButton(QWidget* form, const QString& name, const Rect& at, const QString& caption, const Look& look)
{
    return Make(new QRadioButton(caption, form), name, at, look);
}

QLineEdit* TextBox(QWidget* form, const QString& name, const Rect& at, const Look& look, bool selectAllOnDoubleClick)
{
    auto* box = Make(new LineBox(form), name, at, look);
    if (selectAllOnDoubleClick)
        box->installEventFilter(new SelectAllOnDoubleClick(box));
    return box;
}

QLabel* Picture(QWidget* form, const QString& name, const Rect& at, const QPixmap& picture)
{
    auto* image = new QLabel(form);
    image->setPixmap(picture);
    return Make(image, name, at, Look{});
}

RowEvents::RowEvents(QObject* parent)
    : QObject(parent)
{
}

void RowEvents::Watch(QWidget* control, int index)
{
    m_index.insert(control, index);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void RowEvents::Unwatch(QWidget* control)
{
    control->removeEventFilter(this);
    m_index.remove(control);
}

bool RowEvents::eventFilter(QObject* watched, QEvent* e)
{
    const auto it = m_index.constFind(watched);
    if (it == m_index.constEnd())
        return false;
    if (e->type() == QEvent::MouseMove && mouseMove) {
        mouseMove(*it);
        return true;
    }
    if (e->type() == QEvent::MouseButtonRelease && click) {
        auto* me = static_cast<QMouseEvent*>(e);
        auto* control = static_cast<QWidget*>(watched);
        if (me->button() == Qt::LeftButton && control->rect().contains(me->position().toPoint()))
            click(*it);
        return true;
    }
    return false;
}

} // namespace Kit
