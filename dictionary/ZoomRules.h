#pragma once
// The character pop-up's rules, without widgets: which readings it lists, which one the
// neighbouring characters choose (through the vocabulary table), which sound file a reading
// plays, how the window is laid out and placed against the screen, the hover delay and the
// stroke animation's state. The window Zoom applies them to its controls.
//
// Geometry is in twips. Placement is computed in single precision, as the pop-up always did.

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include "AppState.h"
#include "StrokeFile.h"

class WavePlayer;

namespace ZoomGeometry {
constexpr double ReadingLeft = 0;     // the template reading label Label2(0)
constexpr double ReadingTop = 45;
constexpr double ReadingWidth = 1620;
constexpr double ReadingHeight = 525;
constexpr double CharacterLeft = 90;  // Label1, the big character
constexpr double NotFoundTop = 250;   // Label1's top when no reading is listed
constexpr double StrokeAreaGap = 180; // window width = Label1's width + this (per half)
} // namespace ZoomGeometry

// One reading label: the tone-marked text shown and the numbered syllable in its tooltip
// (the tooltip is what the vocabulary's syllables are compared with).
struct ReadingLabelText {
    QString Text;    // "hǎo"
    QString ToolTip; // "hao3"
};

QVector<ReadingLabelText> ReadingLabels(const CharacterRecord& record);

// The vocabulary entry that decides among several readings: the first entry (table order)
// whose Chinese holds prevCh + ch (syllable index p + 1) or else ch + nextCh (index p), p
// being the 1-based position of the pair in the entry's text without punctuation. Entry 0:
// none decides.
struct DecidingEntry {
    int Entry{0};         // 1-based index in the vocabulary table
    int SyllableIndex{0}; // 1-based
};
DecidingEntry FindDecidingEntry(const QString& ch, const QString& prevCh, const QString& nextCh);

// The syllables of a numbered-pinyin word, dots dropped, each closed by its digit and
// trimmed of blanks; text after the last digit is dropped ("h.ao3 p.eng2" -> hao3, peng2).
QStringList WordSyllables(const QString& pinyin);

// The first reading label (1-based) whose tooltip equals syllable exactly; 0 for none.
int SelectReading(const QStringList& toolTips, const QString& syllable);

// What a look-up highlights and speaks: label Spoken (1-based, 0 = nothing), red or not.
struct ReadingChoice {
    int Spoken{0};
    bool Red{false};
    friend bool operator==(const ReadingChoice&, const ReadingChoice&) = default;
};
// One reading: spoken, not red. Several: the deciding entry's syllable picks the label (red
// and spoken); a syllable index beyond the entry's syllables, or a syllable no label has,
// picks nothing. No deciding entry: label 1, red and spoken. No reading: nothing.
ReadingChoice ChooseReading(const QStringList& toolTips, const QString& ch, const QString& prevCh,
                            const QString& nextCh);

// Everything a look-up of ch decides before any control is touched.
struct PopupContent {
    int RecordIndex{0}; // 1-based in CharacterTable; 0 when ch has no record
    QVector<ReadingLabelText> Labels;
    ReadingChoice Choice;
};
PopupContent LookUpCharacter(const QString& ch, const QString& prevCh, const QString& nextCh);

// The sound of a reading and the tone it shows on the main window's tone label. An empty
// Path plays nothing.
struct ReadingSound {
    QString Path;
    QString Tone;
};
// From a reading of the character table: its sound tone ("1" for the neutral tone).
ReadingSound CharacterReadingSound(const CharacterReading& reading);
// From a single numbered syllable given by the caller, already without punctuation ("hao3"):
// the neutral tone "0" plays the tone-1 file.
ReadingSound GivenPinyinSound(const QString& syllable);

// The pop-up speaks only while the shared player is not playing: it never cuts off a sound
// of the course or of a tool.
bool PopupMaySpeak();
// Plays sound on the pop-up's own player (no notification), sets CurrentTone and shows the
// tone label. Call only when PopupMaySpeak().
void PlayReadingSound(WavePlayer& player, const ReadingSound& sound);

// Where the controls stand for n reading labels and a big character of the given size.
struct PopupLayout {
    QVector<double> ReadingTops; // label j at ReadingTops[j - 1], left ReadingLeft
    double CharacterTop{0};      // Label1, at left CharacterLeft
    double Width{0};             // single width: no stroke drawing
    double Height{0};
};
PopupLayout LayOutPopup(int readingCount, double characterWidth, double characterHeight);

// The window's width: twice the single width when the character has a stroke file.
double PopupWidth(double characterWidth, bool hasStrokeFile);

// The look-up's anchor: the calling window's and its text control's left and top, the mouse
// position in that control, and the distance kept from the pointer (all twips).
struct PopupAnchor {
    float FormLeft{0}, CtlLeft{0}, X{0};
    float FormTop{0}, CtlTop{0}, Y{0};
    float Offset{0};
};
struct PopupScreen {
    float Width{0};
    float Height{0};
    float TaskbarHeight{0}; // the strip below the work area
};
// Beside the pointer; a window that would reach into the taskbar strip sits on it instead,
// shifted right by the offset once more; one that would pass the right edge is flush with it.
QPointF PlacePopup(const PopupAnchor& anchor, float width, float height, const PopupScreen& screen);

// The hover delay over the reading labels (label 0 = the background or the big character).
struct HoverChange {
    int Normal{0};         // label back to the normal colour (0 = none)
    int Red{0};            // label turned red (0 = none)
    bool StopTimer{false};
    bool StartTimer{false};
};
class ReadingHover {
public:
    int Index() const { return m_index; }
    HoverChange MoveOver(int label);
    // The delay ran out: the label to speak, 0 when the pointer is on none.
    int Fire() const { return m_index; }
    // A new look-up: no label is under the pointer (the delay is not stopped).
    void Reset() { m_index = 0; }

private:
    int m_index{0};
};

// The stroke animation: one record per tick, a stroke end moves the counter on, the end of
// the records clears the drawing and starts again.
struct StrokeTick {
    bool Draw{false};      // draw one dot at Point
    StrokePoint Point;
    bool SetCounter{false}; // the counter now reads Counter
    QString Counter;
    bool Clear{false};     // clear everything drawn
    bool Stop{false};      // the timer goes off (an empty file)
};
class StrokeAnimation {
public:
    // A new character: position 0, stroke 1. The caller clears the drawing and starts the
    // timer; the counter keeps its text until the first stroke ends.
    void Load(StrokeData data);
    StrokeTick Advance();

    qint16 PointCount() const { return m_data.PointCount(); }
    qint16 StrokeCount() const { return m_data.StrokeCount; }
    qint16 AnimationPosition() const { return qint16(m_position); }
    qint16 CurrentStroke() const { return qint16(m_currentStroke); }

private:
    QString CounterText() const;

    StrokeData m_data;
    // Wider than the 16-bit counts it stands for: a file of StrokeRecordLimit records takes
    // the position one past its last record before the drawing starts over.
    int m_position{0};
    int m_currentStroke{1};
};

// Where a stroke point is drawn in the pop-up: half size, right of the big character, below
// the last reading label (or from the window's top when no reading is shown).
QPointF StrokeDotPosition(StrokePoint point, double characterWidth, int shownReadingCount,
                          double lastReadingTop);
