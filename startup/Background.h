#pragma once
// The main window: a borderless dark-blue backdrop (full screen, the screen above the
// taskbar, or a one-pixel strip, by the saved mode) with the backdrop picture, the title,
// the local and Beijing clocks and the tone label. It owns every other window and decides
// the start-up road: installer from a CD-ROM or removable drive, otherwise the start menu
// (or the code-page help window when the code page cannot show Chinese).

#include <QImage>
#include <QPointer>
#include <future>

#include "Form.h"
#include "ToneLabel.h"

class QLabel;
class Timer;

class Background : public Form, public ToneLabelView {
    Q_OBJECT
public:
    Background();

    // Opens the start menu: loaded, centred and raised 260 twips, shown owned by this window;
    // then the character pop-up is loaded without being shown.
    void Common04();
    // Lays the window out in a backdrop mode; when save is non-zero the mode is stored.
    void Common01(qint16 mode, qint16 save);
    // Minimises the whole program, except while it is still starting (the panels' F4).
    virtual void MinimizeProgram();
    // F4 in a window's key preview: the program is minimised, and the key goes no further (a
    // combo box of the window would open its list on it too). False for any other key.
    static bool MinimiseOnF4(int& keyCode);
    // ToneLabelView: Label4 shows text, fitted to it.
    void ShowToneText(const QString& text) override;
    // The local offset from UTC in minutes (east positive); the zone name is appended.
    qint32 GetLocalTZ(QString& zoneName) const;

    // Controls other windows use.
    QLabel* Image1{nullptr};  // backdrop picture
    QLabel* Label10{nullptr}; // title
    QLabel* Label6{nullptr};  // local clock
    QLabel* Label5{nullptr};  // Beijing clock
    QLabel* Label4{nullptr};  // tone label of the syllable player
    Timer* Timer1{nullptr};   // 100 ms start-up step
    Timer* Timer2{nullptr};   // 200 ms end of the program (installer road, "Cancel launching")
    Timer* Timer5{nullptr};   // 60 s clock tick

    qint16 BeijingOffset{0};
    QString LocalWeekdayChinese;
    QString LocalWeekdayEnglish;
    QString BeijingWeekdayChinese;
    QString BeijingWeekdayEnglish;

    // Design size of the window and the width of the one-pixel strip, twips.
    static constexpr double DesignWidth = 11550;
    static constexpr double DesignHeight = 8670;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_CloseRequested() override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void LoadBackdropPicture();
    static QString ChooseBackdropPicture();
    // Decodes the backdrop picture and draws what the window and the menu show (once).
    void PrepareToShow();
    void ApplySavedBackdrop();
    qint16 GetTaskbarHeight() const;
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer5_Timer();

    QPointer<Form> m_panelHidden; // the panel this window's minimise hid, for its restore
    QString m_picturePath; // chosen when the window is built, decoded before it shows
    std::future<QImage> m_picture; // its decoding, on a thread of its own
    bool m_prepared{false};
};
