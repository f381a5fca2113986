#pragma once
// The control kit: every window creates its controls here, each in one call with its control
// name (the form's own: "Label4", or "Image3(2)" for an element of a control array), its twip
// geometry, its font and its colours. Control arrays are ControlRows: elements keep the form's
// indexes and report mouse moves and clicks with their index, as the old arrays' events did.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

#include "Forms.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace Kit {

// Where a control lies on its form, in twips. A width or height of 0 sizes the control to its
// content instead (labels whose text decides their size).
struct Rect {
    double left{0};
    double top{0};
    double width{0};
    double height{0};
};

// Font and colours. What a field leaves at its default is inherited from the form.
struct Look {
    QStringList font{};                  // families in order of preference; empty: the form's
    double points{0};                    // size in points; 0: the form's
    QFont::Weight weight{QFont::Normal};
    bool underline{false};
    QColor ink{};                        // text colour; invalid: the palette's
    QColor paper{};                      // background colour; invalid: none of its own
    Qt::Alignment align{};               // labels: alignment of the text; none: left, centred
    bool wrap{false};                    // labels: words wrap onto further lines
    QColor outline{};                    // a one-pixel ring of this colour around the text, so
                                         // text straight on a picture stays readable on any
                                         // picture; invalid: none
};

QLabel* Label(QWidget* form, const QString& name, const Rect& at, const QString& text = {}, const Look& look = {});
// A command button: clicked by the mouse, by Space and, while it has the focus, by Return (or
// Enter), as the old buttons were. A form whose key preview uses Return itself swallows it
// (keyCode 0 in Form_KeyDown), and the button then stays as it is.
QPushButton* Button(QWidget* form, const QString& name, const Rect& at, const QString& caption, const Look& look = {});
QCheckBox* CheckBox(QWidget* form, const QString& name, const Rect& at, const QString& caption, const Look& look = {});
QRadioButton* OptionButton(QWidget* form, const QString& name, const Rect& at, const QString& caption,
    const Look& look = {});
// A one-line text box: a LineBox, which takes only what it can hold from a paste. The old
// text boxes selected their whole text on a double click where a form asked for it:
// selectAllOnDoubleClick.
QLineEdit* TextBox(QWidget* form, const QString& name, const Rect& at, const Look& look = {},
    bool selectAllOnDoubleClick = false);
// A picture (image control); a zero size takes the picture's size.
QLabel* Picture(QWidget* form, const QString& name, const Rect& at, const QPixmap& picture = {});

// Gives an existing control a look (font and colours), as the kit's creators do.
void SetLook(QWidget* control, const Look& look);
// The text colour alone (labels, buttons, boxes).
void SetInk(QWidget* control, const QColor& ink);
// A form's (or control's) own background colour, filled behind its children.
void SetPaper(QWidget* widget, const QColor& paper);

// Delivers the mouse moves and left clicks of the watched controls by index. Used by
// ControlRow; a form holds it through its rows.
class RowEvents : public QObject {
public:
    explicit RowEvents(QObject* parent);
    void Watch(QWidget* control, int index);
    void Unwatch(QWidget* control);
    std::function<void(int)> mouseMove;
    std::function<void(int)> click;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QHash<const QObject*, int> m_index;
};

// A control array of a form: Image3(1..5), Label2(0..6) with gaps. A form holds it as a
// member (ControlRow<QLabel> Image3{this, "Image3"}) and adds the elements with their index;
// row[index] is nullptr for an index the form does not have. A row with OnMouseMove takes the
// pointer's moves over its elements (the form underneath does not see them) and calls the
// handler with the element's index; OnClick does the same for a left button released over
// the element.
template <class W> class ControlRow {
public:
    ControlRow(QObject* form, const char* name)
        : m_name(name)
        , m_events(new RowEvents(form))
    {
    }
    ControlRow(const ControlRow&) = delete;
    ControlRow& operator=(const ControlRow&) = delete;

    // The control name of element index: "Image3(2)".
    QString Name(int index) const { return Forms::IndexedName(m_name, index); }

    W* Add(int index, W* control)
    {
        m_controls[index] = control;
        m_events->Watch(control, index);
        return control;
    }
    // Destroys element index (arrays whose elements are created and destroyed at run time);
    // not from inside one of that element's own events.
    void Remove(int index)
    {
        const auto it = m_controls.find(index);
        if (it == m_controls.end())
            return;
        m_events->Unwatch(it->second);
        delete it->second;
        m_controls.erase(it);
    }
    W* operator[](int index) const
    {
        const auto it = m_controls.find(index);
        return it == m_controls.end() ? nullptr : it->second;
    }
    void OnMouseMove(std::function<void(int)> handler) { m_events->mouseMove = std::move(handler); }
    void OnClick(std::function<void(int)> handler) { m_events->click = std::move(handler); }

    // Elements in index order, as (index, control) pairs.
    auto begin() const { return m_controls.begin(); }
    auto end() const { return m_controls.end(); }

private:
    const char* m_name;
    std::map<int, W*> m_controls;
    RowEvents* m_events; // a child of the form, gone with it
};

} // namespace Kit
