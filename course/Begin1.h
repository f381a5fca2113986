#pragma once
// The course panel. Stands here as an empty window until the course panel is built.

#include "Form.h"

class Begin1 : public Form {
    Q_OBJECT
public:
    Begin1();
};
