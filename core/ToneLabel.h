#pragma once
// The tone label: "[ hao3 ] the 3rd tone" while a syllable's recording plays. The sound
// helpers (PlaySoundFile, ReplaySound, the syllable queue) build the text; the main window
// shows it in its Label4. Nothing is shown while no main window is loaded.

#include <QString>

// Offered to later folders: the main window (Background) implements this and registers itself
// while it is loaded (RegisterToneLabelView in Form_Load, UnregisterToneLabelView in
// Form_Unload).
class ToneLabelView {
public:
    // Called by ShowToneLabel whenever a syllable's recording starts: shows text in the tone
    // label (Label4), fitted to it.
    virtual void ShowToneText(const QString& text) = 0;

protected:
    ~ToneLabelView() = default;
};

void RegisterToneLabelView(ToneLabelView* view);
void UnregisterToneLabelView(ToneLabelView* view);

// Label4 := "[ " + syllable + the ending for tone, shown. Nothing when no view is registered.
void ShowToneLabel(const QString& tone, const QString& syllable);
// The characters between the last path separator ("\" or "/") and the last "." of path.
QString BaseFileName(const QString& path);
