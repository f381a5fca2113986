#include "SharedPlayer.h"

void SetUpSharedPlayers() {}
void CloseSharedPlayers() {}
