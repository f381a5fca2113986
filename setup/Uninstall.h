#pragma once
// The uninstaller window. Stands here as an empty window until the uninstaller is built.

#include "Form.h"

class Uninstall : public Form {
    Q_OBJECT
public:
    Uninstall();
};
