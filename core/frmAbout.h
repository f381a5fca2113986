#pragma once
// The About panel. Stands here as an empty panel until the About box is built.

#include "Form.h"

class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();
};
