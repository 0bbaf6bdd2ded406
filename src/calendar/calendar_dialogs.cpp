#include "calendar/calendar_dialogs.h"

#include <string>

#include "dialogs/predefinitions_dialog.h"
#include "dialogs/shared_dialog.h"
#include "calendar/calendar_commands.h"
#include "calendar/calendar_link.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace {

constexpr int targetBoxes[4] = {IDC_CALENTRY_CAL1, IDC_CALENTRY_CAL2, IDC_CALENTRY_CAL3, IDC_CALENTRY_CAL4};
constexpr int searchButtons[4] = {IDC_CALSEARCH_CAL1, IDC_CALSEARCH_CAL2, IDC_CALSEARCH_CAL3, IDC_CALSEARCH_CAL4};


void check(HWND dialog, int control, bool on)
{
    CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED);
}

bool checked(HWND dialog, int control)
{
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

// At most limit characters of a field.
std::string fieldText(HWND dialog, int control, int limit)
{
    std::string text(static_cast<size_t>(limit) + 1, '\0');
    const int length = GetDlgItemTextA(dialog, control, text.data(), limit + 1);
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

void setField(HWND dialog, int control, const std::string& text, int limit)
{
    SendDlgItemMessageA(dialog, control, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    SetDlgItemTextA(dialog, control, text.c_str());
}

}  // namespace

void fillCalendarEntryDialog(HWND dialog)
{
    setField(dialog, IDC_CALENTRY_TEXT, currentEntryName(calendarEntryNameLimit), calendarEntryNameLimit);
    fillPreDefinitionControls(dialog);
    SYSTEMTIME now;
    GetLocalTime(&now);
    setField(dialog, IDC_CALENTRY_TIME, calendarTimeText(now.wHour, now.wMinute), calendarTimeTypedLimit);
    setField(dialog, IDC_CALENTRY_DATE, calendarDateText(now.wDay, now.wMonth, now.wYear), calendarDateLimit);
    check(dialog, IDC_CALENTRY_PREDEF, insertPreDefinition);
    for (int i = 0; i < 4; ++i)
        check(dialog, targetBoxes[i], calendarTargets[i]);
}

// The choices are kept even when the date or the time is refused.
void acceptCalendarEntryDialog(HWND dialog)
{
    readPreDefinitionControls(dialog);
    insertPreDefinition = checked(dialog, IDC_CALENTRY_PREDEF);
    for (int i = 0; i < 4; ++i)
        calendarTargets[i] = checked(dialog, targetBoxes[i]);
    const std::string time = fieldText(dialog, IDC_CALENTRY_TIME, calendarTimeLimit);
    const std::string date = fieldText(dialog, IDC_CALENTRY_DATE, calendarDateLimit);
    const std::string text = fieldText(dialog, IDC_CALENTRY_TEXT, calendarEntryTextLimit);
    if (!calendarDateValid(date.c_str()) || !calendarTimeValid(time.c_str())) {
        endSharedDialog(dialog, 0);
        reportError(captionMain, textIncompleteDateTime);
        return;
    }
    sendToCalendar(calendarEntryCommand(date.c_str(), time.c_str(), text.c_str()).c_str());
    endSharedDialog(dialog, 0);
}

void fillCalendarSearchDialog(HWND dialog)
{
    setField(dialog, IDC_CALSEARCH_TEXT, currentEntryName(calendarSearchLimit), calendarSearchLimit);
    for (int i = 0; i < 4; ++i)
        check(dialog, searchButtons[i], i + 1 == searchCalendar);
}

void acceptCalendarSearchDialog(HWND dialog)
{
    for (int i = 0; i < 4; ++i) {
        if (checked(dialog, searchButtons[i])) {
            searchCalendar = i + 1;
            break;
        }
    }
    const std::string text = fieldText(dialog, IDC_CALSEARCH_TEXT, calendarSearchLimit);
    endSharedDialog(dialog, 0);
    sendToCalendar(calendarSearchCommand(text.c_str()).c_str());
}

namespace {
const SharedDialog calendarEntryDialog{IDD_CALENDARENTRY_DE, fillCalendarEntryDialog,
                                       {{IDC_CALENTRY_OK, acceptCalendarEntryDialog}}};
const SharedDialog calendarSearchDialog{IDD_CALENDARSEARCH_DE, fillCalendarSearchDialog,
                                        {{IDC_CALSEARCH_OK, acceptCalendarSearchDialog}}};
}  // namespace

void openCalendarEntryDialog()
{
    runSharedDialog(calendarEntryDialog, IDD_CALENDARENTRY, mainWindow);
    SetFocus(mainWindow);
}

void openCalendarSearchDialog()
{
    SetFocus(mainWindow);
    runSharedDialog(calendarSearchDialog, IDD_CALENDARSEARCH, mainWindow);
    SetFocus(mainWindow);
}
