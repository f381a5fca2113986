#pragma once
// The course panel. Stands here as an empty panel of the menu until it is built: it keeps the
// keys and the mouse forwarding the start menu relies on.

#include "MenuPanel.h"

class Begin1 : public MenuPanel {
    Q_OBJECT
public:
    Begin1();
};
