// The text protocol spoken with the calendar program ORDANE.
//
// Both programs register the window message "Datatransfer ORDANE zu Lumo".
// A text of n bytes travels as n + 2 posted messages: one per byte
// (position, byte), a terminator (n + 1, 0), and a count (999999, n + 1).
// The receiver collects bytes until the number of byte and terminator
// messages equals the count, whichever arrives first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* transferMessageName = "Datatransfer ORDANE zu Lumo";
inline constexpr const char* calendarWindowClass = "ORDANE";
inline constexpr uint32_t countMarker = 999999;

struct TransferMessage {
    uint32_t position;   // the message's first parameter
    uint32_t value;      // the message's second parameter
};

// The messages that carry text, in posting order.
std::vector<TransferMessage> encodeCalendarText(std::string_view text);

// ---- Receiving ----

inline constexpr int receiveBufferSize = 1024;

extern char receiveBuffer[receiveBufferSize];
extern int32_t expectedCount;
extern int32_t receivedCount;

// Drops a half-received text (every send does this).
void resetCalendarReceiver();

// Takes one transfer message.  Returns true when it completed a text, which
// is then in receiveBuffer, NUL-terminated.  Positions outside the buffer
// are dropped.
bool receiveTransfer(uint32_t position, uint32_t value);

// ---- Meaning of received texts ----

struct CalendarButtonChange {
    int buttonId;
    bool pressed;
};

struct CalendarRequest {
    std::vector<CalendarButtonChange> buttons;
    bool quit = false;
    bool search = false;
    std::string searchText;   // at most 51 characters
};

// What a complete received text asks for; an unknown text asks for nothing.
CalendarRequest interpretCalendarText(const char* text);

// Texts the address book sends.
inline constexpr const char* greetingText = "HALLO, HIER IST LUMO!";
inline constexpr const char* goodbyeText = "LumoQuit";
