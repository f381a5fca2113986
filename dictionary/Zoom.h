#pragma once
// The character pop-up. Stands here as an empty window until the pop-up is built.

#include "Form.h"

class Zoom : public Form {
    Q_OBJECT
public:
    Zoom();
};
