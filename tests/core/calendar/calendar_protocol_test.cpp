#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calendar/calendar_protocol.h"
#include "resources/resource.h"

namespace {

std::vector<std::pair<uint32_t, uint32_t>> pairs(std::string_view text)
{
    std::vector<std::pair<uint32_t, uint32_t>> out;
    for (auto m : encodeCalendarText(text))
        out.emplace_back(m.position, m.value);
    return out;
}

TEST(CalendarProtocol, EncodesBytesTerminatorAndCount)
{
    using P = std::vector<std::pair<uint32_t, uint32_t>>;
    EXPECT_EQ(pairs("AS"), (P{{0, 65}, {1, 83}, {3, 0}, {999999, 3}}));
    EXPECT_EQ(pairs(""), (P{{1, 0}, {999999, 1}}));
    EXPECT_EQ(pairs("\x92"), (P{{0, 146}, {2, 0}, {999999, 2}}));   // bytes above 127 stay positive
}

// Feeds the messages in the given order; returns every completed text.
std::vector<std::string> deliver(const std::vector<TransferMessage>& messages)
{
    std::vector<std::string> texts;
    for (auto m : messages)
        if (receiveTransfer(m.position, m.value))
            texts.emplace_back(receiveBuffer);
    return texts;
}

TEST(CalendarProtocol, ReceiverCompletesWhenCountsAgreeInAnyOrder)
{
    resetCalendarReceiver();
    EXPECT_EQ(deliver(encodeCalendarText("OpenKal2")), (std::vector<std::string>{"OpenKal2"}));

    // The count may come first.
    auto messages = encodeCalendarText("CloseAlarm");
    std::rotate(messages.rbegin(), messages.rbegin() + 1, messages.rend());
    EXPECT_EQ(deliver(messages), (std::vector<std::string>{"CloseAlarm"}));

    EXPECT_EQ(deliver(encodeCalendarText("")), (std::vector<std::string>{""}));

    // A shorter text after a longer one is cut by its terminator.
    deliver(encodeCalendarText("ABCDEFGH"));
    EXPECT_EQ(deliver(encodeCalendarText("XY")), (std::vector<std::string>{"XY"}));

    // A half-received text is dropped by a reset (every send resets).
    auto half = encodeCalendarText("OrdaneQuit");
    half.resize(4);
    EXPECT_TRUE(deliver(half).empty());
    resetCalendarReceiver();
    EXPECT_EQ(deliver(encodeCalendarText("OpenKal1")), (std::vector<std::string>{"OpenKal1"}));
}

TEST(CalendarProtocol, ReceiverNeverWritesOutsideItsBuffer)
{
    resetCalendarReceiver();
    std::string huge(3000, 'x');
    auto texts = deliver(encodeCalendarText(huge));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_LT(texts[0].size(), static_cast<size_t>(receiveBufferSize));
    EXPECT_FALSE(receiveTransfer(0, 0));   // a terminator at position 0 is dropped
    resetCalendarReceiver();
}

TEST(CalendarProtocol, InterpretsButtonTextsQuitStatusAndSearch)
{
    auto open = interpretCalendarText("OpenKal3");
    ASSERT_EQ(open.buttons.size(), 1u);
    EXPECT_EQ(open.buttons[0].buttonId, IDM_CALENDAR3);
    EXPECT_TRUE(open.buttons[0].pressed);

    auto close = interpretCalendarText("CloseGClock");
    ASSERT_EQ(close.buttons.size(), 1u);
    EXPECT_EQ(close.buttons[0].buttonId, IDM_ANALOGCLOCK);
    EXPECT_FALSE(close.buttons[0].pressed);

    EXPECT_TRUE(interpretCalendarText("closekal2").buttons.empty());   // case matters
    EXPECT_TRUE(interpretCalendarText("OrdaneQuit").quit);
    EXPECT_FALSE(interpretCalendarText("OrdaneQuitNow").quit);

    // Flags 1,1,0,0,0,1: only pressed buttons are reported; others stay.
    auto status = interpretCalendarText("ORDANE110001");
    ASSERT_EQ(status.buttons.size(), 3u);
    EXPECT_EQ(status.buttons[0].buttonId, IDM_CALENDAR1);
    EXPECT_EQ(status.buttons[1].buttonId, IDM_CALENDAR2);
    EXPECT_EQ(status.buttons[2].buttonId, IDM_ALARMWINDOW);
    for (const auto& change : status.buttons)
        EXPECT_TRUE(change.pressed) << change.buttonId;
    EXPECT_TRUE(interpretCalendarText("ORDANE").buttons.empty());

    auto search = interpretCalendarText("ASMiller");
    EXPECT_TRUE(search.search);
    EXPECT_EQ(search.searchText, "Miller");
    auto longSearch = interpretCalendarText(("AS" + std::string(60, 'q')).c_str());
    EXPECT_EQ(longSearch.searchText.size(), 51u);

    auto nothing = interpretCalendarText("HALLO");
    EXPECT_TRUE(nothing.buttons.empty());
    EXPECT_FALSE(nothing.quit || nothing.search);
}

}  // namespace
