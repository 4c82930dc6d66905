// The system's message box behind the application's error displays, replaceable so that tests
// can see what would be shown without a modal box.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class MessageBoxPlatform {
public:
    virtual ~MessageBoxPlatform() = default;
    // Shows a modal box and returns the button chosen, as MessageBoxW does.
    virtual int Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                     UINT type) = 0;
};

// MessageBoxW unless replaced.
MessageBoxPlatform& CurrentMessageBoxPlatform();
// Replaces it; nullptr restores the system's boxes. Returns the replacement in force before.
MessageBoxPlatform* ReplaceMessageBoxPlatform(MessageBoxPlatform* platform);

} // namespace forms
