// The command table: every id of the menu, the accelerators, the toolbar
// and the system menu, and what it runs.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "dialogs/colours_dialog.h"
#include "dialogs/info_box.h"
#include "dialogs/predefinitions.h"
#include "dialogs/predefinitions_dialog.h"
#include "dialogs/search_dialog.h"
#include "dialogs/general_config_dialog.h"
#include "dialogs/password_dialogs.h"
#include "calendar/calendar_dialogs.h"
#include "calendar/calendar_link.h"
#include "transfer/clipboard.h"
#include "contacts/contact_commands.h"
#include "files/config.h"
#include "files/data_check.h"
#include "files/file_commands.h"
#include "find/search.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "host/host.h"
#include "host/texts.h"
#include "shell/main_window.h"
#include "shell/program_path.h"
#include "host/title.h"
#include "print/printing.h"
#include "store/store.h"
#include "store/undo.h"
#include "sync/sync_dialogs.h"
#include "views/activation.h"
#include "views/selection_edit.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

void toggleArrangement(unsigned char arrangement, int item, int otherItem)
{
    if (windowArrangement == arrangement) {
        windowArrangement = 0;
        host().checkMenuItem(item, false);
        return;
    }
    windowArrangement = arrangement;
    host().checkMenuItem(item, true);
    host().checkMenuItem(otherItem, false);
    layoutChildWindows();
}

void sideBySide()
{
    SetFocus(mainWindow);
    toggleArrangement(1, IDM_SIDEBYSIDE, IDM_ONEUPONOTHER);
}

void oneUponTheOther()
{
    toggleArrangement(2, IDM_ONEUPONOTHER, IDM_SIDEBYSIDE);
}

void rotate()
{
    if (activeView == ActiveView::Overview)
        activateDataView();
    else if (activeView == ActiveView::DataView)
        activateOverview();
}

constexpr const char* textHelpMissing = "The help file is missing:\n";
constexpr const char* textHelpNotShown = "No program could show the help file:\n";

// The help page, shown by whatever the shell opens .htm files with.  A
// missing page or one the shell cannot show is reported, not passed over.
void openHelp()
{
    SetFocus(mainWindow);
    const bool missing = GetFileAttributesA(helpFilePath) == INVALID_FILE_ATTRIBUTES;
    if (!missing) {
        auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(mainWindow, "open", helpFilePath, nullptr, nullptr, SW_SHOWNORMAL));
        if (result > 32)
            return;
    }
    std::string text = missing ? textHelpMissing : textHelpNotShown;
    text += helpFilePath;
    reportError(captionMain, text.c_str());
}

void typePreDefinitionFor(int id)
{
    typePreDefinition(preDefinitionNumberOf(id));
}

void addWithDataCheck()
{
    takeSnapshot();
    addFile();
}

void dataCheck()
{
    takeSnapshot();
    removeDuplicateEntries();
}

void generalConfiguration()
{
    openGeneralConfigDialog(GetActiveWindow());
}

// Whatever the dialog did, the next save must write the new protection.
void passwordProtection()
{
    openNewPasswordDialog(mainWindow);
    setTitleMarker('*');
    host().setStatusText(entryCountText);
    dataModified = true;
}

}  // namespace

bool runCommand(int id)
{
    if (id >= IDM_RECENT0 && id <= IDM_RECENT9) {
        openRecentFile(id - IDM_RECENT0);
        return true;
    }
    switch (id) {
    case IDM_INFO: case IDM_INFO_2: case IDM_INFO_3: showInfoBox(); break;
    case IDM_PREDEF1: case IDM_PREDEF2: case IDM_PREDEF3: case IDM_PREDEF4: case IDM_PREDEF5:
    case IDM_PREDEF6: case IDM_PREDEF7: case IDM_PREDEF8: case IDM_PREDEF9: case IDM_PREDEF10:
                                typePreDefinitionFor(id); break;
    case IDM_CALENDAR1:         openCalendarWindow("OpenKal1", true); break;
    case IDM_CALENDAR2:         openCalendarWindow("OpenKal2", true); break;
    case IDM_CALENDAR3:         openCalendarWindow("OpenKal3", true); break;
    case IDM_CALENDAR4:         openCalendarWindow("OpenKal4", true); break;
    case IDM_QUIT:              PostQuitMessage(0); break;
    case IDM_CALENDARENTRY:     openCalendarEntryDialog(); break;
    case IDM_SIDEBYSIDE:        sideBySide(); break;
    case IDM_ONEUPONOTHER:      oneUponTheOther(); break;
    case IDM_HELP:              openHelp(); break;
    case IDM_ANALOGCLOCK:       openCalendarWindow("OpenGClock", true); break;
    case IDM_NEWENTRY:          newEntry(); break;
    case IDM_ROTATE:            rotate(); break;
    case IDM_CALENDARSEARCH:    openCalendarSearchDialog(); break;
    case IDM_ADDRESSFIELD:      SetFocus(mainWindow); copyAddressField(mainWindow); break;
    case IDM_OPEN:              openFile(); break;
    case IDM_SAVE:              saveOrSaveBlock(false); break;
    case IDM_SAVEAS:            saveOrSaveBlock(true); break;
    case IDM_NEW:               newFile(); break;
    case IDM_ADD:               addWithDataCheck(); break;
    case IDM_IMPORTCONTACTS:    importContactsFile(); break;
    case IDM_EXPORTCONTACTS:    exportContactsFile(); break;
    case IDM_SYNC:              synchroniseCommand(); break;
    case IDM_SYNCSETTINGS:      syncSettingsCommand(); break;
    case IDM_DATACHECK:         dataCheck(); break;
    case IDM_SEARCH:            openSearchDialog(); break;
    case IDM_REPEATSEARCH:      repeatSearch(); break;
    case IDM_REPLACE:           openReplaceDialog(); break;
    case IDM_REPEATREPLACE:     repeatReplace(); break;
    case IDM_PRINT:             printEntries(); break;
    case IDM_ALARMWINDOW:       openCalendarWindow("OpenAlarm", true); break;
    case IDM_COLOURS:           openColoursDialog(); break;
    case IDM_GENERALCONFIG:     generalConfiguration(); break;
    case IDM_PREDEFINITIONS:    openPreDefinitionsDialog(); break;
    case IDM_SAVECONFIG:        writeConfiguration(configFilePath); break;
    case IDM_FONT_DATAVIEW:     chooseViewFont(true); break;
    case IDM_FONT_OVERVIEW:     chooseViewFont(false); break;
    case IDM_COPY:              copyToClipboard(mainWindow); break;
    case IDM_PASTE:             pasteCommand(mainWindow); break;
    case IDM_CUT:               cutToClipboard(mainWindow); break;
    case IDM_FILESELECTOR:      typePreDefinitionFor(id); break;
    case IDM_UNDO:              undo(); break;
    case IDM_SELECTALL:         selectAll(); break;
    case IDM_PASSWORD:          passwordProtection(); break;
    default:                    return false;
    }
    return true;
}
