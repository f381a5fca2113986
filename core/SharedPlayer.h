#pragma once
// The shared wave players of the main window (MMControl1, MMControl2) and the play-done
// dispatch. The main window sets them up when it loads on the normal road and closes them
// when it unloads; the players themselves live here, so any window can play before or after.
//
// A window plays a file with PlaySoundFile(path, owner) and names itself by an owner code
// (SoundOwner); when MMControl1 reports the natural end of that play, the owner's
// play-finished method is called, but only while that window is loaded: a window closed
// before its sound ends is called by nobody and never loaded again.

#include <QString>

class WavePlayer;

// Owner codes of the play-done dispatch.
namespace SoundOwnerCode {
constexpr qint16 Nobody = 0;
constexpr qint16 Text = 2;         // Text.Common01
constexpr qint16 Spoken = 6;       // Spoken.Common02
constexpr qint16 Alphabet1 = 7;    // Alphabet1.Common01
constexpr qint16 Vocabulary = 12;  // Vocabulary.Common05
constexpr qint16 FindSentence = 13; // FindSentence.Common02
constexpr qint16 SyllableQueue = 15; // PlayNextSyllable
constexpr qint16 Figure = 16;      // Figure.Play1
} // namespace SoundOwnerCode

// The two players (created on first use, never null).
WavePlayer* MMControl1();
WavePlayer* MMControl2();

// Main window load: MMControl1 without notification, MMControl2 with it, both "WaveAudio".
void SetUpSharedPlayers();
// Main window unload: "Close" to MMControl1, then to MMControl2.
void CloseSharedPlayers();

// Plays one wave file on MMControl1 for owner (0 = nobody is told). A path inside the
// syllable folder ("Symbols\" or "Symbols/") shows the tone label for CurrentTone.
void PlaySoundFile(const QString& path, qint16 owner);
// Plays the loaded file again from its start for owner.
void ReplaySound(qint16 owner);

// The Done handlers of the two players.
void MMControl1_Done(int notifyCode);
void MMControl2_Done(int notifyCode);
