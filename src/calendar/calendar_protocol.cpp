#include "calendar/calendar_protocol.h"

#include <cstring>

#include "resources/resource.h"

char receiveBuffer[receiveBufferSize];
int32_t expectedCount = -1;
int32_t receivedCount = 0;

namespace {

// The six toolbar buttons that mirror the calendar program's windows, in
// the order of the status text's flags.
constexpr int calendarButtons[6] = {IDM_CALENDAR1, IDM_CALENDAR2, IDM_CALENDAR3,
                                    IDM_CALENDAR4, IDM_ANALOGCLOCK, IDM_ALARMWINDOW};
constexpr const char* windowNames[6] = {"Kal1", "Kal2", "Kal3", "Kal4", "GClock", "Alarm"};

constexpr size_t maxSearchText = 51;

}  // namespace

std::vector<TransferMessage> encodeCalendarText(std::string_view text)
{
    std::vector<TransferMessage> messages;
    messages.reserve(text.size() + 2);
    uint32_t n = static_cast<uint32_t>(text.size());
    for (uint32_t i = 0; i < n; ++i)
        messages.push_back({i, static_cast<unsigned char>(text[i])});
    messages.push_back({n + 1, 0});
    messages.push_back({countMarker, n + 1});
    return messages;
}

void resetCalendarReceiver()
{
    expectedCount = -1;
    receivedCount = 0;
}

bool receiveTransfer(uint32_t position, uint32_t value)
{
    if (position == countMarker) {
        expectedCount = static_cast<int32_t>(value);
    } else {
        ++receivedCount;
        if (value == 0) {
            if (position >= 1 && position <= receiveBufferSize)
                receiveBuffer[position - 1] = 0;
        } else if (position < receiveBufferSize - 1) {
            receiveBuffer[position] = static_cast<char>(value & 0xFF);
        }
    }
    if (receivedCount != expectedCount)
        return false;
    resetCalendarReceiver();
    receiveBuffer[receiveBufferSize - 1] = 0;
    return true;
}

CalendarRequest interpretCalendarText(const char* text)
{
    CalendarRequest request;
    for (int i = 0; i < 6; ++i) {
        if (std::strcmp(text, (std::string("Open") + windowNames[i]).c_str()) == 0) {
            request.buttons.push_back({calendarButtons[i], true});
            return request;
        }
        if (std::strcmp(text, (std::string("Close") + windowNames[i]).c_str()) == 0) {
            request.buttons.push_back({calendarButtons[i], false});
            return request;
        }
    }
    if (std::strcmp(text, "OrdaneQuit") == 0) {
        request.quit = true;
        return request;
    }
    if (std::strncmp(text, "ORDANE", 6) == 0) {
        size_t length = std::strlen(text);
        for (size_t i = 0; i < 6 && 6 + i < length; ++i)
            if (text[6 + i] == '1')
                request.buttons.push_back({calendarButtons[i], true});
        return request;
    }
    if (std::strncmp(text, "AS", 2) == 0) {
        request.search = true;
        request.searchText = std::string(text + 2).substr(0, maxSearchText);
    }
    return request;
}
