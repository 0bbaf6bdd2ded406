// Escapes of a marker and two hex digits back to their bytes: "=C3=A4" in
// quoted-printable vCard values, "%C3%A4" in hrefs and in the entry a sync
// card carries.  A marker not followed by two hex digits stays as it is.
#pragma once

#include <string>
#include <string_view>

std::string decodeHexEscapes(std::string_view text, char marker);
