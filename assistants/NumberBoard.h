#pragma once
// The number window's board of syllable labels, without widgets: one label per sound code,
// laid out in one or two rows centred in the frame, and the colours they take while the
// codes are spoken (the sounding one red, those before it blue, the last one black when the
// reading is over). The window mirrors the labels into its Label5 clones.
//
// Who calls whom: the window hands a finished reading to ShowAndSpeak, which fills the shared
// syllable queue with the codes and calls Play1; the shared player calls the window's
// PlayDone (owner 16) at the end of each sound, and the window calls Play1 again.

#include <QColor>
#include <QString>
#include <QVector>

// Where the labels go: the frame they are centred in (Shape1) and the template's top
// (Label5(0)), in twips.
struct NumberFrame {
    double shapeLeft{0};
    double shapeWidth{0};
    double templateTop{0};
};

struct LabelPlace {
    double left{0};
    double top{0};
    bool operator==(const LabelPlace&) const = default;
};

// Places of labels of the given widths: one row below 16 labels, centred in the frame as if
// each were 465 twips wide, each label starting where the one before ends; from 16 on, n \ 2
// labels in the first row and the rest 506 twips lower, each row centred in the frame and its
// labels 465 twips apart.
QVector<LabelPlace> NumberLabelLayout(const QVector<double>& widths, const NumberFrame& frame);

class NumberBoard {
public:
    static constexpr double LabelStep = 465;
    static constexpr double RowGap = 506;
    static constexpr double LabelHeight = 480;
    // A reading longer than the 16-bit label count is cut there.
    static constexpr int MaxLabels = 32767;

    enum class Ink { Blue, Red, Black };
    static QColor Colour(Ink ink);

    struct Label {
        QChar code;
        QString caption; // the code's written form
        LabelPlace place;
        double width{LabelStep}; // 465 twips a character: 百分之 is three wide
        Ink ink{Ink::Blue};
    };

    explicit NumberBoard(const NumberFrame& frame);

    // Shows the labels of codes and starts speaking them. The same codes as those shown keep
    // their labels and turn them all blue; other codes replace the labels (none for empty
    // codes, and then nothing plays).
    void ShowAndSpeak(const QString& codes);
    // Speaks the next queued code (Numbers/<code>.wav, owner 16) and colours its label; a
    // missing or unreadable recording is passed over. When the queue is used up, the last
    // label turns black.
    void Play1();
    // Removes every label: nothing is shown, and the next reading builds its labels anew.
    void Unload();

    const QVector<Label>& Labels() const { return m_labels; }
    const QString& ShownCodes() const { return m_shownCodes; }
    qint16 LabelCount() const { return static_cast<qint16>(m_labels.size()); }
    // Rises each time the labels are unloaded, so the window knows to drop its label widgets.
    int Generation() const { return m_generation; }

private:
    void SetInk(int position, Ink ink);

    NumberFrame m_frame;
    QVector<Label> m_labels; // label k (1-based) is [k - 1]
    QString m_shownCodes;
    int m_generation{0};
};
