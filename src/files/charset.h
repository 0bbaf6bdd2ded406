// The seven German letters that address files keep at their DOS code-page
// positions while the text buffer holds them as Windows ANSI.
#pragma once

#include <cstdint>

// ä ö ü Ä Ö Ü ß (ANSI) become 132 148 129 142 153 154 158, in place.
void toFileCharset(unsigned char* bytes, int32_t length);

// The reverse, in place; 225 is read as ß too.
void toBufferCharset(unsigned char* bytes, int32_t length);
