#pragma once
// The installer window. Stands here as an empty window until the installer is built.

#include "Form.h"

class Install : public Form {
    Q_OBJECT
public:
    Install();
};
