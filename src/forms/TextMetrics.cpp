#include "forms/TextMetrics.h"

#include "forms/Handles.h"

namespace forms {

SIZE MeasureText(HFONT font, std::wstring_view text) {
    ScreenDC dc(font);
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

int ScreenPixelsPerInch() {
    ScreenDC dc;
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

} // namespace forms
