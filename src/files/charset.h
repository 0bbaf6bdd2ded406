// The seven German letters that address files keep at their DOS code-page
// positions while the text buffer holds them as Windows ANSI.
#pragma once

#include <cstdint>

// ä ö ü Ä Ö Ü ß (ANSI) become 132 148 129 142 153 154 158, in place.
void toFileCharset(unsigned char* bytes, int32_t length);

// The reverse, in place; 225 is read as ß too.
void toBufferCharset(unsigned char* bytes, int32_t length);

// Windows-1252 and Unicode.  The five bytes the code page leaves undefined
// (129, 141, 143, 144, 157) stand for the C1 controls of the same value, as
// Windows' own conversion has it, so every byte has a code point and back.
char32_t unicodeFrom1252(unsigned char byte);

// The Windows-1252 byte of c, or -1 when the code page has none.
int byteFrom1252(char32_t c);

// False for the eight bytes that an address file reads back as German
// letters (132, 148, 129, 142, 153, 154, 158, 225): text holding them does
// not survive a save and a load.
bool keptByAddressFile(unsigned char byte);
