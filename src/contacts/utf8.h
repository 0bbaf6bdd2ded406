// UTF-8 as the exchange formats carry it, and the bytes read from an
// outside file turned into UTF-8 whatever they were written in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr char32_t invalidUtf8 = 0xFFFFFFFF;

void appendUtf8(std::string& out, char32_t c);

// The code point starting at text[pos], pos moved behind it; invalidUtf8
// (pos moved by one byte) for a byte that does not start a well-formed,
// shortest-form sequence of a code point up to U+10FFFF outside the
// surrogates.
char32_t nextUtf8(std::string_view text, size_t& pos);

bool isValidUtf8(std::string_view text);

// Windows-1252 text as UTF-8.
std::string utf8From1252(std::string_view text);

// An outside file's bytes without a UTF-8 byte order mark; UTF-16 becomes
// UTF-8, any other bytes stay as they are.  UTF-16 is known by its byte
// order mark or, without one, by zero bytes in every other place of the
// first kilobyte (text of 8-bit character sets holds none).
std::string withoutByteOrderMark(std::string_view bytes);

// The same without a copy where none is needed: a view into bytes, or into
// storage when the text had to be converted.
std::string_view withoutByteOrderMark(std::string_view bytes, std::string& storage);

// Bytes that should be UTF-8 as UTF-8: taken as Windows-1252 when they are
// not valid UTF-8.
std::string utf8OrWindows1252(std::string_view bytes);

// An outside file's bytes as UTF-8: a UTF-8 byte order mark is dropped,
// UTF-16 is converted, text that is not valid UTF-8 is read as
// Windows-1252.
std::string decodeOutsideText(std::string_view bytes);
std::string_view decodeOutsideText(std::string_view bytes, std::string& storage);
