// The built-in layout for Genecyst-type savestates, written to disk when no layout file exists.
#pragma once

#include <string_view>

namespace vantor {

// 10247 bytes of text with CR LF line ends.
std::string_view DefaultLayoutText();

}  // namespace vantor
