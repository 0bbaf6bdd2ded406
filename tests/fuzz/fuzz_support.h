// Shared by the fuzz targets: a host that answers password prompts, a store
// made from given bytes, and the checks every store must pass.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "store/store.h"

// Unlike assert, stays on in every build; the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

struct FuzzHost : Host {
    std::string openPassword, addPassword;
    void askPassword(PasswordPrompt which, char* buffer20) override
    {
        std::strncpy(buffer20, (which == PasswordPrompt::Open ? openPassword : addPassword).c_str(), 19);
        buffer20[19] = 0;
    }
};

// The store holding exactly these bytes, as a load leaves it.
inline void makeStore(std::string_view text)
{
    freeStore();
    usedBytes = static_cast<int32_t>(text.size());
    bufferCapacity = usedBytes + bufferHeadroom;
    textBuffer = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(bufferCapacity), 1));
    std::memcpy(textBuffer, text.data(), text.size());
    indexCapacity = usedBytes / 4 + indexHeadroom;
    entryIndex = static_cast<int32_t*>(std::calloc(static_cast<size_t>(indexCapacity), sizeof(int32_t)));
    storeUnavailable = false;
    entryCount = rebuildEntryIndex();
}

// The index is what a fresh scan of the text alone finds, and nothing but
// zeros lies behind the text.
inline void checkStore()
{
    if (!textBuffer)
        return;
    FUZZ_CHECK(entryIndex);
    FUZZ_CHECK(usedBytes >= 0 && usedBytes + 3 < bufferCapacity);
    for (int32_t i = usedBytes; i < bufferCapacity; ++i)
        FUZZ_CHECK(textBuffer[i] == 0);
    std::vector<unsigned char> text(textBuffer, textBuffer + usedBytes);
    text.resize(text.size() + 4, 0);
    std::vector<int32_t> index(static_cast<size_t>(usedBytes) / 4 + 3);
    int32_t n = scanEntrySeparators(text.data(), usedBytes, index.data(), static_cast<int32_t>(index.size()));
    FUZZ_CHECK(n == entryCount && entryCount + 2 <= indexCapacity);
    FUZZ_CHECK(std::memcmp(index.data(), entryIndex, (static_cast<size_t>(n) + 2) * sizeof(int32_t)) == 0);
}
