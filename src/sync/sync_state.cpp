#include "sync/sync_state.h"

#include <cstdio>

#include "contacts/entry_lines.h"
#include "sync/sync_engine.h"

namespace {

constexpr std::string_view firstLine = "ORDANE-Lumo sync state 1";
constexpr std::string_view stateKind = "ORDANE-Lumo sync state ";

bool parseHex(std::string_view text, uint64_t& value)
{
    if (text.empty() || text.size() > 16)
        return false;
    value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

std::string hex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// Tabs and line breaks cannot stand in a field; a server never puts them
// into a path or an ETag, so they are simply dropped.
std::string field(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != '\t' && c != '\r' && c != '\n')
            out += c;
    return out;
}

}  // namespace

uint64_t textHash(std::string_view text)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool parseSyncState(std::string_view text, SyncState& state, std::string& why)
{
    state = SyncState();
    if (text.empty())
        return true;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            first = false;
            if (line != firstLine) {
                why = line.starts_with(stateKind) ? "the sync state was written by a later version"
                                                  : "the sync state file is damaged";
                return false;
            }
            continue;
        }
        const std::vector<std::string_view> f = splitAt(line, "\t");
        if (f[0] == "url" && f.size() == 2) {
            state.url = f[1];
        } else if (f[0] == "user" && f.size() == 2) {
            state.user = f[1];
} else if (f[0] == "token" && f.size() == 2) {
            state.token = f[1];
        } else if (f[0] == "card" && f.size() == 5) {
            SyncRecord record{std::string(f[1]), std::string(f[2]), 0, 0};
            if (!parseHex(f[3], record.entryHash) || !parseHex(f[4], record.headingHash)) {
                why = "the sync state file is damaged";
                return false;
            }
            state.records.push_back(std::move(record));
        }
        // Other lines are left to later versions.
    }
    return true;
}

std::string syncStateText(const SyncState& state)
{
    std::string out(firstLine);
    out += "\nurl\t" + field(state.url) + "\nuser\t" + field(state.user) + "\n";
    if (!state.token.empty())
        out += "token\t" + field(state.token) + "\n";
    for (const SyncRecord& r : state.records)
        out += "card\t" + field(r.href) + "\t" + field(r.etag) + "\t" + hex(r.entryHash) + "\t" + hex(r.headingHash) +
               "\n";
    return out;
}

void readSyncSettings(std::string_view stateText, std::string& collectionUrl, std::string& user)
{
    SyncState state;
    std::string why;
    parseSyncState(stateText, state, why);
    collectionUrl = state.url;
    user = state.user;
}

std::string withSyncSettings(std::string_view stateText, const std::string& collectionUrl, const std::string& user)
{
    SyncState state;
    std::string why;
    if (!parseSyncState(stateText, state, why))
        state = SyncState();
    // Pairings with another collection mean nothing for this one.
    if (state.url != collectionUrl) {
        state.records.clear();
        state.token.clear();
    }
    state.url = collectionUrl;
    state.user = user;
    return syncStateText(state);
}
