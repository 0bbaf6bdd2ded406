#include "files/scramble.h"

#include <cstring>

KeyStream::KeyStream(const char* password)
    : password_(password), length_(static_cast<int>(strnlen(password, 19)))
{
}

unsigned char KeyStream::next()
{
    if (length_ == 0)
        return 0;
    unsigned char key = static_cast<unsigned char>(password_[position_]);
    if (++position_ == length_)
        position_ = 0;
    return key;
}

void scrambleBytes(unsigned char* bytes, int32_t length, const char* password)
{
    KeyStream keys(password);
    for (int32_t i = 0; i < length; ++i)
        bytes[i] = scrambleByte(bytes[i], keys.next());
}

void unscrambleBytes(unsigned char* bytes, int32_t length, const char* password)
{
    KeyStream keys(password);
    for (int32_t i = 0; i < length; ++i)
        bytes[i] = unscrambleByte(bytes[i], keys.next());
}
