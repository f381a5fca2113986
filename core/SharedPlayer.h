#pragma once
// The shared wave players of the main window (MMControl1, MMControl2) and the play-done
// dispatch. The main window sets them up when it loads on the normal road and closes them
// when it unloads; the players themselves live here, so any window can play before or after.
//
// A window plays a file with PlaySoundFile(path, owner) and names itself by an owner code
// (SoundOwner); when MMControl1 reports the natural end of that play, the PlayDoneReceiver
// registered for that owner code is told, but only while that window is loaded: a window
// closed before its sound ends is told by nobody and never loaded again.

#include <QString>

class WavePlayer;

// Offered to later folders: the window that owns an owner code implements this and registers
// itself for its code while it is loaded (RegisterPlayDoneReceiver in Form_Load,
// UnregisterPlayDoneReceiver in Form_Unload).
class PlayDoneReceiver {
public:
    // Called from the event loop by the shared player when the play started for this owner
    // code ends naturally (never for a play that was closed or superseded), and by the
    // syllable queue when it runs out (Text and Vocabulary, by CurrentActivity).
    virtual void PlayDone() = 0;

protected:
    ~PlayDoneReceiver() = default;
};

// One receiver per owner code; a later registration for the same code takes its place.
void RegisterPlayDoneReceiver(qint16 owner, PlayDoneReceiver* receiver);
// Forgets receiver for owner, if it is still the one registered.
void UnregisterPlayDoneReceiver(qint16 owner, PlayDoneReceiver* receiver);
// Tells the receiver of owner, when one is registered and loaded; false when nobody was told.
bool TellPlayDone(qint16 owner);

// Owner codes of the play-done dispatch.
namespace SoundOwnerCode {
// Each window's PlayDone runs the method named beside its code.
constexpr qint16 Nobody = 0;
constexpr qint16 Text = 2;           // Text.Common01
constexpr qint16 Spoken = 6;         // Spoken.Common02
constexpr qint16 Alphabet1 = 7;      // Alphabet1.Common01
constexpr qint16 Vocabulary = 12;    // Vocabulary.Common05
constexpr qint16 FindSentence = 13;  // FindSentence.Common02
constexpr qint16 SyllableQueue = 15; // PlayNextSyllable (the syllable queue registers itself)
constexpr qint16 Figure = 16;        // Figure.Play1
} // namespace SoundOwnerCode

// The two players (created on first use, never null).
WavePlayer* MMControl1();
WavePlayer* MMControl2();

// Main window load: MMControl1 without notification, MMControl2 with it, both "WaveAudio".
void SetUpSharedPlayers();
// Main window unload: "Close" to MMControl1, then to MMControl2.
void CloseSharedPlayers();

// Plays one wave file on MMControl1 for owner (0 = nobody is told). A path inside the
// syllable folder ("Symbols\" or "Symbols/") shows the tone label for CurrentTone
// (ShowToneLabel).
void PlaySoundFile(const QString& path, qint16 owner);
// Plays the loaded file again from its start for owner.
void ReplaySound(qint16 owner);

// The Done handlers of the two players.
void MMControl1_Done(int notifyCode);
void MMControl2_Done(int notifyCode);
