// What a component needs from its form while it loads its row of the design.
#pragma once

#include "forms/Events.h"

#include <windows.h>

#include <functional>

namespace forms {

struct DesignEnvironment {
    HWND parent = nullptr;      // the form's window, parent of the native controls
    int controlId = 0;          // the id for the row's native control
    HFONT windowFont = nullptr; // the form's font, used by controls without a font of their own
    int designPixelsPerInch = 96;
    int screenPixelsPerInch = 96;
    // Finds a handler of the form by name; throws EComponentError for an unknown name.
    std::function<TNotifyEvent(const char* handlerName)> resolveHandler;
};

} // namespace forms
