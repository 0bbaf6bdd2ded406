// Password scrambling of protected address files: each byte is shifted by
// the next password character, cycling through the password.
#pragma once

#include <cstdint>

inline unsigned char scrambleByte(unsigned char plain, unsigned char key)
{
    return static_cast<unsigned char>(plain + key);
}

inline unsigned char unscrambleByte(unsigned char stored, unsigned char key)
{
    return static_cast<unsigned char>(stored - key);
}

// The password characters in turn, starting again at the first after the
// last.  An empty password gives key bytes of 0, which leave the text as is.
class KeyStream {
public:
    explicit KeyStream(const char* password);
    unsigned char next();

private:
    const char* password_;
    int length_;
    int position_ = 0;
};

void scrambleBytes(unsigned char* bytes, int32_t length, const char* password);
void unscrambleBytes(unsigned char* bytes, int32_t length, const char* password);
