#include "forms/MessageBoxPlatform.h"

namespace forms {
namespace {

class SystemMessageBoxes : public MessageBoxPlatform {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& caption,
             UINT type) override {
        return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    }
};

// Constant-initialised, so a replacement made during static initialisation holds.
MessageBoxPlatform* replacement = nullptr;

} // namespace

MessageBoxPlatform& CurrentMessageBoxPlatform() {
    static SystemMessageBoxes systemBoxes;
    return replacement != nullptr ? *replacement : systemBoxes;
}

MessageBoxPlatform* ReplaceMessageBoxPlatform(MessageBoxPlatform* platform) {
    MessageBoxPlatform* previous = replacement;
    replacement = platform;
    return previous;
}

} // namespace forms
