#include "host/title.h"

#include <algorithm>
#include <cstring>

#include "files/config.h"
#include "host/host.h"

char titleText[72] = " NO NAME";

namespace {

constexpr size_t maxShownPath = 70;

bool isPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The name behind the last path separator (the whole path without one).
const char* fileNamePart(const char* path, size_t length)
{
    for (size_t i = length; i > 0; --i)
        if (isPathSeparator(path[i - 1]))
            return path + i;
    return path;
}

}  // namespace

void setTitleFromPath()
{
    const char* path = currentFilePath;
    size_t n = strnlen(path, pathSize);
    char* text = titleText + 1;

    if (static_cast<unsigned char>(path[0]) < 32) {
        std::strcpy(text, "NO NAME");
    } else if (n <= maxShownPath) {
        std::memcpy(text, path, n);
        text[n] = 0;
    } else {
        // Keep the tail: the drive, "\..\", and everything behind the first
        // separator from which the rest fits into 70 characters.
        char prefix[8] = "";
        if (path[1] == ':') {
            prefix[0] = path[0];
            prefix[1] = ':';
            prefix[2] = 0;
        }
        std::strcat(prefix, "\\..\\");
        size_t k = std::strlen(prefix);
        size_t from = n + k - maxShownPath;
        size_t found = n;
        for (size_t i = from; i < n; ++i) {
            if (isPathSeparator(path[i])) {
                found = i;
                break;
            }
        }
        if (found < n) {
            std::strcpy(text, prefix);
            std::memcpy(text + k, path + found + 1, n - found - 1);
            text[k + n - found - 1] = 0;
        } else {
            const char* name = fileNamePart(path, n);
            size_t length = std::min<size_t>(strnlen(name, 64), 64);
            std::memcpy(text, name, length);
            text[length] = 0;
        }
    }
    if (host().mainWindowExists())
        host().setTitle(titleText);
}

void setTitleMarker(char marker)
{
    titleText[0] = marker;
    if (host().mainWindowExists())
        host().setTitle(titleText);
}
