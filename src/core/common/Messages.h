#pragma once

#include "Cp1252.h"

#include <string>

namespace camini {

// How the core tells the user something: a plain box with one OK button for
// the system's own messages, the application's standard error box for
// failures. Texts are CP1252. The windows show boxes; the batch calculator
// writes to standard error; tests record.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void message(const Cp1252& text) = 0;
    virtual void error(const Cp1252& text) = 0;
};

} // namespace camini
