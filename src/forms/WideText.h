// Conversions between the UTF-8 text of the portable core and the UTF-16 text of the W APIs.
#pragma once

#include <string>
#include <string_view>

namespace forms {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace forms
