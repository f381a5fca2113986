#pragma once
// The shared wave players of the main window (MMControl1, MMControl2). The main window sets
// them up when it loads on the normal road and closes them when it unloads.

void SetUpSharedPlayers();
void CloseSharedPlayers();

#include <QString>

// Speaks a dotless numbered-pinyin text syllable by syllable through the shared player.
void PlayPinyinSequence(const QString& text);
