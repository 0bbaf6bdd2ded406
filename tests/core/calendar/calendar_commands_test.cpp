#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/predefinitions.h"
#include "calendar/calendar_commands.h"
#include "files/config.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

namespace {

class CalendarCommands : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        resetCalendarSettings();
        selectedPreDefinition = 1;
    }
};

TEST_F(CalendarCommands, EntryCommandCarriesFlagsDateTimeAndTheTextInBrackets)
{
    EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30", "Miller John"), "TS100014/02/2024 09.30 <Miller John>");

    calendarTargets[0] = false;
    calendarTargets[1] = calendarTargets[3] = true;
    EXPECT_EQ(calendarEntryCommand("14.02.2024", "09.30", ""), "TS010114.02.2024 09.30 <>");

    // Seconds typed are cut with the time field.
    EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30.15", "x"), "TS010114/02/2024 09.30 <x>");
}

TEST_F(CalendarCommands, PreDefinitionGoesBetweenTimeAndTextOnlyWhenAskedAndSelected)
{
    insertPreDefinition = true;
    selectedPreDefinition = 1;
    EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30", "Miller"), "TS100014/02/2024 09.30 PhoneNumber: <Miller>");
    selectedPreDefinition = 10;
    EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30", "Miller"), "TS100014/02/2024 09.30 ToDo: <Miller>");
    for (int outside : {0, 11}) {
        selectedPreDefinition = outside;
        EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30", "Miller"), "TS100014/02/2024 09.30 <Miller>");
    }
    insertPreDefinition = false;
    selectedPreDefinition = 1;
    EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30", "Miller"), "TS100014/02/2024 09.30 <Miller>");
}

TEST_F(CalendarCommands, LongTextIsCutSoThatTheClosingBracketStays)
{
    insertPreDefinition = true;
    const std::string text(300, 'x');
    const std::string command = calendarEntryCommand("14/02/2024", "09.30", text.c_str());
    const std::string front = "TS100014/02/2024 09.30 PhoneNumber: <";
    ASSERT_EQ(command.size(), 6u + 223u);
    EXPECT_EQ(command.substr(0, front.size()), front);
    EXPECT_EQ(command.back(), '>');
    EXPECT_EQ(command.substr(front.size(), command.size() - front.size() - 1), std::string(223 - 1 - (front.size() - 6), 'x'));

    // A text that just fits keeps every character.
    insertPreDefinition = false;
    const std::string fits(222 - std::strlen("14/02/2024 09.30 <"), 'y');
    EXPECT_EQ(calendarEntryCommand("14/02/2024", "09.30", fits.c_str()), "TS100014/02/2024 09.30 <" + fits + ">");
}

TEST_F(CalendarCommands, DateNeedsDayMonthAndFourDigitYearWithAnySeparator)
{
    const struct {
        const char* date;
        bool valid;
    } cases[] = {
        {"14/02/2024", true},  {"14.02.2024", true}, {"14022024", true}, {"1/2/2024", true},
        {"14-02-2024", true},  {"14/02/24", false},  {"00/02/2024", false}, {"14/00/2024", false},
        {"14/02/0000", false}, {"14/02/202a", false}, {"14/02/20a4", true}, {"14/0", false},
        {"14", false},         {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calendarDateValid(c.date), c.valid) << '"' << c.date << '"';
}

TEST_F(CalendarCommands, TimeNeedsADigitOfTheHourAndOneOfTheMinute)
{
    const struct {
        const char* time;
        bool valid;
    } cases[] = {
        {"09.30", true}, {"0930", true}, {"9.3", true}, {"00:00", true}, {"12.", false},
        {"12", false},   {"ab.cd", false}, {"12.ab", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calendarTimeValid(c.time), c.valid) << '"' << c.time << '"';
}

TEST_F(CalendarCommands, DialogDefaultsPassTheirOwnChecks)
{
    EXPECT_EQ(calendarDateText(5, 3, 2024), "05/03/2024");
    EXPECT_EQ(calendarTimeText(7, 5), "07.05");
    EXPECT_TRUE(calendarDateValid(calendarDateText(1, 1, 2000).c_str()));
    EXPECT_TRUE(calendarTimeValid(calendarTimeText(0, 0).c_str()));
}

TEST_F(CalendarCommands, SearchCommandNamesTheCalendarAndCarriesAtMostFiftyCharacters)
{
    EXPECT_EQ(calendarSearchCommand("Miller"), "XS1Miller");
    searchCalendar = 4;
    const std::string text(60, 's');
    EXPECT_EQ(calendarSearchCommand(text.c_str()), "XS4" + std::string(50, 's'));
}

TEST_F(CalendarCommands, NameOfTheShownEntryEndsAtASeparatorOrTheLimit)
{
    setStoreText("Adams, 1\r\n\r\nMiller John, 089 1234\r\nStreet\r\n\r\n");
    currentEntryOffset = entryIndex[1];
    EXPECT_EQ(currentEntryName(calendarEntryNameLimit), "Miller John");
    EXPECT_EQ(currentEntryName(4), "Mill");
    currentEntryOffset = 0;   // the first entry starts at offset 0
    EXPECT_EQ(currentEntryName(calendarEntryNameLimit), "Adams");
    currentEntryOffset = entryIndex[1];
    std::strcpy(nameSeparators[0], "");
    std::strcpy(nameSeparators[3], " ");
    EXPECT_EQ(currentEntryName(calendarSearchLimit), "Miller");
}

}  // namespace
