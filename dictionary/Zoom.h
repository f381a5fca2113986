#pragma once
// The character pop-up: one selected character large, its readings in tone-marked pinyin
// (the one that fits the neighbouring characters red and spoken), and, when the character
// has a stroke file, its strokes drawn point by point beside it. Loaded once, hidden, with
// the start menu; every reading window calls ChaZhao (or ShowPinYin) on a one-character
// selection; it hides as soon as another window of the program becomes active. The rules
// live in ZoomRules.h.

#include "DotSurface.h"
#include <QPointer>

#include "ControlKit.h"
#include "Form.h"
#include "ZoomRules.h"

class QFrame;
class QLabel;
class Timer;
class WavePlayer;

class Zoom : public Form {
    Q_OBJECT
public:
    Zoom();

    // Shows ch with its readings beside the pointer. prevCh and nextCh are the characters
    // around it in the caller's text ("" when none or not Chinese); the positions are the
    // calling window's and its text control's left and top and the pointer in that control,
    // offset the distance kept from the pointer (130 or 260), all twips. A selection that is
    // not purely Chinese is ignored; a character without a record only changes the big
    // character (the window is neither placed nor shown).
    void ChaZhao(const QString& ch, const QString& prevCh, const QString& nextCh, double formLeft, double ctlLeft,
                 double X, double formTop, double ctlTop, double Y, qint16 offset);
    // Shows text with the one given numbered syllable (such as "h.ao3") and speaks it.
    void ShowPinYin(const QString& text, const QString& pinyin, double formLeft, double ctlLeft, double X,
                    double formTop, double ctlTop, double Y, qint16 offset);

    QLabel* Label1{nullptr};                        // the big character
    Kit::ControlRow<QLabel> Label2{this, "Label2"}; // 0: template; 1..n: the readings
    QLabel* Label3{nullptr};                        // stroke counter "k / n"
    QLabel* Label4{nullptr};                        // "Penstrokes:"
    QFrame* Shape1{nullptr};                        // the frame round the window
    Timer* Timer1{nullptr};                         // 400 ms hover delay before speaking
    Timer* Timer2{nullptr};                         // 20 ms stroke animation
    WavePlayer* MMControl1{nullptr};                // the pop-up's own player

    qint16 ShownReadingCount{0};
    qint16 RecordIndex{0};
    bool CharacterMode{false};
    QString GivenPinyin;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    void Form_Deactivate() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    // Gone down with the program, the pop-up hides as it does for another window: it does not
    // come back with the restore, where the window it was over takes the keys.
    void hideEvent(QHideEvent* e) override;

private:
    void Form_MouseMove();
    void Label2_MouseMove(int index);
    void Label2_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();

    // Destroys the reading labels of the last look-up and shows text as the big character.
    void ClearReadings(const QString& text);
    void AddReading(int index, const QString& text, const QString& toolTip, double top);
    // Places Label1 and sizes the window for the readings now shown.
    void LayOut();
    void PlacePopup(const QString& text, const PopupAnchor& anchor);
    void LoadStrokeFile(const QString& path);
    void SetReadingColour(int index, bool red);
    double CharacterWidth() const;
    void ClearDrawing();
    // Hides when another window of the program becomes active, also while the pop-up itself
    // was never activated (window managers may keep focus from a frameless window).
    void ActiveWindowChanged();

    ReadingHover m_hover;
    StrokeAnimation m_animation;
    DotSurface m_drawing; // the stroke points, kept until cleared
    QPointer<QWidget> m_lastActive;
};
