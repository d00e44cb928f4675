#pragma once

#include <string>
#include <string_view>

// Texts are UTF-8 inside the program and UTF-16 at the Windows edge: in the registry's calls and
// in the files its editor exports. What is not well formed on one side becomes U+FFFD on the
// other.
namespace kestrova::settings {

std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

}  // namespace kestrova::settings
