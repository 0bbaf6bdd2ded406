#include "calendar/calendar_commands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "dialogs/predefinitions.h"
#include "transfer/address_field.h"
#include "files/config.h"
#include "store/store.h"
#include "views/view_state.h"

bool calendarTargets[4] = {true, false, false, false};
bool insertPreDefinition = false;
int searchCalendar = 1;

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of the digits among count bytes from position at; a non-digit
// adds nothing.
int digitsValue(std::string_view text, size_t at, size_t count)
{
    int value = 0;
    for (size_t i = at; i < at + count; ++i)
        if (isDigit(text[i]))
            value = value * 10 + (text[i] - '0');
    return value;
}

std::string_view cut(const char* text, size_t limit)
{
    return {text, strnlen(text, limit)};
}

}  // namespace

void resetCalendarSettings()
{
    calendarTargets[0] = true;
    calendarTargets[1] = calendarTargets[2] = calendarTargets[3] = false;
    insertPreDefinition = false;
    searchCalendar = 1;
}

std::string currentEntryName(int limit)
{
    std::string name;
    if (!textBuffer)
        return name;
    for (int32_t p = currentEntryOffset; p >= 0 && p < usedBytes && static_cast<int>(name.size()) < limit; ++p) {
        const unsigned char byte = textBuffer[p];
        if (byte < 32 || endsName(byte))
            break;
        name.push_back(static_cast<char>(byte));
    }
    return name;
}

std::string calendarDateText(int day, int month, int year)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
    return text;
}

std::string calendarTimeText(int hour, int minute)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d", hour, minute);
    return text;
}

bool calendarDateValid(const char* date)
{
    const std::string_view s = date;
    if (s.size() < 3)
        return false;
    const int day = digitsValue(s, 0, 2);
    size_t p = isDigit(s[2]) ? 2 : 3;
    if (s.size() < p + 2)
        return false;
    const int month = digitsValue(s, p, 2);
    p += 2;
    if (s.size() < p + 1)
        return false;
    if (!isDigit(s[p]))
        ++p;
    if (s.size() < p + 4)
        return false;
    int year = 0;
    for (size_t i = p; i < p + 4; ++i)
        year = isDigit(s[i]) ? year * 10 + (s[i] - '0') : 0;
    return day != 0 && month != 0 && year != 0;
}

bool calendarTimeValid(const char* time)
{
    const std::string_view s = time;
    if (s.size() < 3)
        return false;
    auto digitCount = [&](size_t at) {
        int count = 0;
        for (size_t i = at; i < at + 2 && i < s.size(); ++i)
            count += isDigit(s[i]) ? 1 : 0;
        return count;
    };
    const size_t minuteAt = isDigit(s[2]) ? 2 : 3;
    return digitCount(0) > 0 && digitCount(minuteAt) > 0;
}

std::string calendarEntryCommand(const char* date, const char* time, const char* text)
{
    std::string body;
    body += cut(date, calendarDateLimit);
    body += ' ';
    body += cut(time, calendarTimeLimit);
    body += ' ';
    if (insertPreDefinition && selectedPreDefinition >= 1 && selectedPreDefinition <= predefinitionCount)
        body += cut(textPredefinitions[selectedPreDefinition - 1], predefinitionTextLimit);
    body += '<';
    body += cut(text, calendarEntryTextLimit);
    if (body.size() > calendarEntryTextLimit)
        body.resize(calendarEntryTextLimit);
    body += '>';

    std::string command = "TS";
    for (bool target : calendarTargets)
        command += target ? '1' : '0';
    return command + body;
}

std::string calendarSearchCommand(const char* text)
{
    std::string command = "XS";
    command += static_cast<char>('0' + (searchCalendar >= 1 && searchCalendar <= 4 ? searchCalendar : 1));
    command += cut(text, calendarSearchLimit);
    return command;
}
