#include "SharedPlayer.h"

void SetUpSharedPlayers() {}
void CloseSharedPlayers() {}
void PlayPinyinSequence(const QString& text) { (void)text; }
