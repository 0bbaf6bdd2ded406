#include "files/recent_files.h"

#include <algorithm>
#include <cstring>

#include "files/config.h"
#include "resources/resource.h"
#include "host/host.h"

namespace {

// The texts the ten menu items carry; they move with their paths, so an
// item keeps the name it was given even when its path would not get one at
// start-up.
std::string menuTexts[recentFileCount];

constexpr size_t maxNameLength = 508;

void setSlotText(int slot, std::string text)
{
    menuTexts[slot] = std::move(text);
    host().setMenuItemText(IDM_RECENT0 + slot, menuTexts[slot].c_str());
}

bool isShownAtStart(const char* path)
{
    return static_cast<unsigned char>(path[0]) >= 'A';
}

}  // namespace

std::string recentMenuText(int slot, const char* path)
{
    size_t length = strnlen(path, pathSize);
    size_t nameStart = 0;
    for (size_t i = 0; i < length; ++i)
        if (path[i] == '\\' || path[i] == '/')
            nameStart = i + 1;
    std::string name(path + nameStart, std::min(length - nameStart, maxNameLength));
    char digit = static_cast<char>('0' + slot);
    return std::string("&") + digit + ": " + name + " \tStrg+" + digit;
}

void showRecentFilesInMenu()
{
    if (recentFiles[0][0] == 0 && isShownAtStart(currentFilePath)) {
        std::memcpy(recentFiles[0], currentFilePath, pathSize);
        setSlotText(0, recentMenuText(0, recentFiles[0]));
    }
    for (int slot = 0; slot < recentFileCount; ++slot) {
        if (isShownAtStart(recentFiles[slot]))
            setSlotText(slot, recentMenuText(slot, recentFiles[slot]));
        else
            menuTexts[slot].clear();
    }
}

void rememberRecentFile(const char* path)
{
    for (const auto& recent : recentFiles)
        if (std::strncmp(recent, path, pathSize) == 0)
            return;
    for (int slot = recentFileCount - 1; slot > 0; --slot) {
        std::memcpy(recentFiles[slot], recentFiles[slot - 1], pathSize);
        std::string text = menuTexts[slot - 1];
        if (!text.empty()) {
            // Both digits follow the item to its new place.
            text[1] = static_cast<char>('0' + slot);
            text.back() = static_cast<char>('0' + slot);
        }
        setSlotText(slot, text);
    }
    std::strncpy(recentFiles[0], path, pathSize - 1);
    recentFiles[0][pathSize - 1] = 0;
    setSlotText(0, recentMenuText(0, recentFiles[0]));
}
