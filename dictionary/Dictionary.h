#pragma once
// The local dictionary window. Stands here as an empty window until it is built.

#include "Form.h"

class Dictionary : public Form {
    Q_OBJECT
public:
    Dictionary();
};
