#pragma once
// The settings panel. Stands here as an empty panel of its design size until it is built.

#include "Form.h"

class Setting : public Form {
    Q_OBJECT
public:
    Setting();
};
