// The texts the calendar dialogs hand to the calendar program: an
// appointment ("TS...") and a search in one calendar ("XS..."), with the
// checks of the typed date and time and the settings the dialogs keep for
// the run.
#pragma once

#include <string>

// Calendars 1 to 4 an appointment goes to; calendar 1 at start.
extern bool calendarTargets[4];
// Put the selected text pre-definition in front of the appointment's text.
extern bool insertPreDefinition;
// The calendar searched, 1 to 4.
extern int searchCalendar;

inline constexpr int calendarEntryTextLimit = 222;
inline constexpr int calendarEntryNameLimit = 223;
inline constexpr int calendarDateLimit = 10;
inline constexpr int calendarTimeLimit = 5;
// The time field takes "hh.mm.ss" as the message asks for; what is read of
// it stops at calendarTimeLimit.
inline constexpr int calendarTimeTypedLimit = 8;
inline constexpr int calendarSearchLimit = 50;

inline constexpr const char* textIncompleteDateTime =
    "Always fill in the complete\ndate (dd.mm.yyyy) and time (hh.mm.ss) please!";

// Back to the values of a new run.
void resetCalendarSettings();

// The name in the Data view's entry: its first line up to the first control
// byte or name separator, at most limit bytes.
std::string currentEntryName(int limit);

// "dd/mm/yyyy" and "hh.mm", as the entry dialog fills its fields.
std::string calendarDateText(int day, int month, int year);
std::string calendarTimeText(int hour, int minute);

// A day, a month and a four-digit year, none of them zero, in the places
// of dd.mm.yyyy; any byte serves as a separator, and the separators may
// be left out.
bool calendarDateValid(const char* date);
// At least one digit of the hour in the places of hh and one of the
// minute behind it, with or without a separator between them.
bool calendarTimeValid(const char* time);

// "TS", the four calendar flags, then date, blank, time, blank, the
// selected pre-definition when it is to be inserted, "<", the text, ">".
// Date, time and text are cut to their limits first, and the part from
// the date on to ">" is cut to 223 characters at the end of the text.
std::string calendarEntryCommand(const char* date, const char* time, const char* text);
// "XS", the calendar's digit, then at most 50 characters of text.
std::string calendarSearchCommand(const char* text);
