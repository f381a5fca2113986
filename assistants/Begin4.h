#pragma once
// The Assistants menu. Stands here as an empty window until the menu is built.

#include "Form.h"

class Begin4 : public Form {
    Q_OBJECT
public:
    Begin4();
};
