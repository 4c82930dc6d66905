// A window's design as data: the window's settings and its components in creation order.
#pragma once

#include <vector>

namespace forms {

// A font as designed: a face name and a Height in pixels at the design resolution (a negative
// Height is the character height without internal leading). Character set DEFAULT_CHARSET,
// colour clWindowText, no style.
struct FontDesign {
    const wchar_t* name = nullptr;
    int height = 0;
};

// One component of the design. The fields that do not apply to a kind stay at their defaults.
struct ComponentDesign {
    const char* className = nullptr; // "TButton", "TEdit", "TLabel", "TTimer" or a program's own
    const char* name = nullptr;      // the component's Name, also the form field it fills
    int left = 0;                    // client-area position and size at the design resolution
    int top = 0;
    int width = 0;
    int height = 0;
    const wchar_t* caption = nullptr; // a caption, or a text box's designed text
    const FontDesign* font = nullptr; // a font of its own; nullptr: the window's font
    int tabOrder = -1;                // -1: not in the tab order
    const char* onClick = nullptr;    // handler names, looked up in the form's handler table
    const char* onTimer = nullptr;
    unsigned interval = 1000; // timers: milliseconds between ticks
    bool enabled = true;
};

enum class TBorderStyle { bsSingle, bsSizeable };

// Border icons, combined with |.
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };

struct FormDesign {
    const char* className = nullptr; // the window class name, such as "TForm1"
    const char* name = nullptr;      // the form's Name
    const wchar_t* caption = nullptr;
    int left = 0; // screen position of the outer top-left corner; never scaled
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    TBorderStyle borderStyle = TBorderStyle::bsSizeable;
    unsigned borderIcons = biSystemMenu | biMinimize | biMaximize;
    FontDesign font;
    int pixelsPerInch = 96; // the resolution the layout was designed at
    int textHeight = 0;     // height of "0" in the window font at design time
    const char* onCreate = nullptr;
    std::vector<ComponentDesign> components; // in creation order
};

} // namespace forms
