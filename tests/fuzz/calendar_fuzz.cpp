// The calendar link's receiving side: any sequence of transfer messages.
//
// Input: messages of 8 bytes, the position and the value as little-endian
// 32-bit numbers.  Afterwards the input's first bytes, up to a NUL, are sent
// properly encoded and must arrive unchanged.
#include "calendar/calendar_protocol.h"
#include "find/search.h"
#include "fuzz_support.h"

namespace {

uint32_t le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void receive(uint32_t position, uint32_t value)
{
    if (!receiveTransfer(position, value))
        return;
    FUZZ_CHECK(std::memchr(receiveBuffer, 0, receiveBufferSize));
    // What the main window does with the text.
    CalendarRequest request = interpretCalendarText(receiveBuffer);
    FUZZ_CHECK(request.searchText.size() < sizeof searchText);
    if (request.search) {
        std::memset(searchText, 0, sizeof searchText);
        std::memcpy(searchText, request.searchText.data(), request.searchText.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetCalendarReceiver();
    for (size_t i = 0; i + 8 <= size; i += 8)
        receive(le32(data + i), le32(data + i + 4));

    std::string_view text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    text = text.substr(0, receiveBufferSize - 2);
    resetCalendarReceiver();
    auto messages = encodeCalendarText(text);
    for (size_t i = 0; i < messages.size(); ++i)
        FUZZ_CHECK(receiveTransfer(messages[i].position, messages[i].value) == (i + 1 == messages.size()));
    FUZZ_CHECK(receiveBuffer == text);
    return 0;
}
