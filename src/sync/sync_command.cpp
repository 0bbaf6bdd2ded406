#include "sync/sync_command.h"

#include <cstdio>
#include <string_view>

#include "files/config.h"
#include "files/safe_write.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "sync/sync_result.h"

namespace {

constexpr const char* textSettingsNotSaved = "The synchronisation settings could not be written:\n";

bool hasFileName()
{
    return static_cast<unsigned char>(currentFilePath[0]) >= 32;
}

void showSyncProgress(int percent)
{
    char text[40];
    std::snprintf(text, sizeof text, "%s %d%%", textSyncStatus, percent);
    host().setStatusText(text);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

}  // namespace

SyncStart syncStart(std::string& url, std::string& user)
{
    url.clear();
    user.clear();
    if (!hasFileName())
        return SyncStart::NoFileName;
    readSyncSettings(currentSyncState(currentFilePath), url, user);
    return url.empty() ? SyncStart::NoSettings : SyncStart::Ready;
}

bool synchroniseStore(const SyncSettings& settings, const HttpSend& send)
{
    if (!hasFileName() || !textBuffer) {
        reportError(captionMain, textSyncNeedsName);
        return false;
    }
    const std::string state = currentSyncState(currentFilePath);
    const std::string_view book(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes));
    SyncOutcome outcome;
    {
        UiBusyScope busy;
        showSyncProgress(0);
        outcome = synchronise(book, state, settings, send, showSyncProgress);
        host().setStatusText(entryCountText);
    }
    if (!outcome.ok) {
        reportError(captionMain, (std::string(textSyncFailed) + outcome.error).c_str());
        return false;
    }
    if (!takeSyncResult(outcome.bookText, std::move(outcome.stateText)))
        return false;
    UiBusyScope busy;
    host().showInfo(captionMain, syncSummaryLine(outcome.summary).c_str());
    return true;
}

bool storeSyncSettings(const std::string& url, const std::string& user)
{
    if (!hasFileName()) {
        reportError(captionMain, textSyncNeedsName);
        return false;
    }
    const std::string path = syncStatePath(currentFilePath);
    const std::string changed = withSyncSettings(syncStateOnDisk(currentFilePath), url, user);
    if (!writeFileSafely(path.c_str(), changed.data(), changed.size())) {
        reportError(captionMain, (textSettingsNotSaved + path).c_str());
        return false;
    }
    changeHeldSyncStates([&](std::string_view held) { return withSyncSettings(held, url, user); });
    return true;
}

std::string normalisedCollectionUrl(const std::string& typed)
{
    const size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string url = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    size_t hostStart;
    if (startsWithNoCase(url, "https://"))
        hostStart = 8;
    else if (startsWithNoCase(url, "http://"))
        hostStart = 7;
    else
        return {};
    if (url.size() == hostStart || url[hostStart] == '/' || url.find_first_of(" \t") != std::string::npos)
        return {};
    if (url.back() != '/')
        url += '/';
    return url;
}
