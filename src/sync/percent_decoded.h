// "%C3%A4" back to its bytes: hrefs as servers list them, and the entry a
// card carries verbatim.  A '%' not followed by two hex digits stays.
#pragma once

#include <string>
#include <string_view>

std::string percentDecoded(std::string_view text);
