#pragma once
// The on-line dictionary window. Stands here as an empty window until it is built.

#include "Form.h"

class DictionaryOnline : public Form {
    Q_OBJECT
public:
    DictionaryOnline();
};
