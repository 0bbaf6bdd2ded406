// The commands of the Special and Configuration menus and the help, used as
// a user does: keys and clicks through SendInput, dialogs filled from the
// keyboard.  What they did is read back from outside: the clipboard, the
// texts the calendar stand-in received, pixels of the views, the settings
// file after quitting, and the file the shell was asked to open.

#include "e2e/real_input.h"

namespace {

const std::string helpPage = windowsPathOf(LUMO_HELP_PAGE);
const std::string openRecorder = windowsPathOf(OPEN_RECORDER_PROGRAM);

// Control ids of the system colour dialog's red, green and blue fields.
constexpr int colourRedField = 706, colourGreenField = 707, colourBlueField = 708;

class DialogInput : public RealInput {
protected:
    bool waitUntilClosed(HWND dialog)
    {
        return waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, waitLimitMs, &lumo);
    }

    static bool isChecked(HWND dialog, int controlId)
    {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(GetDlgItem(dialog, controlId), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        return state == BST_CHECKED;
    }

    // The field with the keyboard focus gets text in place of what it held.
    static void retype(const std::string& text)
    {
        pressKey(VK_HOME);
        pressKey(VK_END, {VK_SHIFT});
        typeText(text);
    }

    // A click on a control of a dialog.  A group box around the control
    // may be what WindowFromPoint names (it lets clicks through only for
    // its own thread), so only the dialog itself must be the window there.
    void clickControl(HWND dialog, int controlId)
    {
        HWND control = GetDlgItem(dialog, controlId);
        RECT r;
        GetClientRect(control, &r);
        POINT screen = {r.right / 2, r.bottom / 2};
        ClientToScreen(control, &screen);
        ASSERT_EQ(GetAncestor(WindowFromPoint(screen), GA_ROOT), dialog) << "something covers control " << controlId;
        clickAt(control, {r.right / 2, r.bottom / 2});
    }

    // The colour on screen at a point of a window's client area, once it
    // is the expected one or the wait is over.
    COLORREF waitForPixel(HWND window, POINT point, COLORREF expected)
    {
        COLORREF seen = CLR_INVALID;
        waitUntil([&] { return (seen = screenPixel(window, point)) == expected; }, waitLimitMs, &lumo);
        return seen;
    }

    // A point of the view's empty background: low on the right.
    static POINT backgroundPoint(HWND view)
    {
        RECT client;
        GetClientRect(view, &client);
        return {client.right - 12, client.bottom - 6};
    }

    // The system colour dialog, opened from a swatch, set to the colour
    // through its red, green and blue fields and confirmed.
    void chooseColour(HWND swatchOwner, int swatch, int red, int green, int blue)
    {
        ASSERT_NO_FATAL_FAILURE(clickControl(swatchOwner, swatch));
        HWND chooser = waitForDialog(colourRedField);
        ASSERT_TRUE(chooser) << "the colour dialog did not open";
        const std::pair<int, int> fields[] = {{colourRedField, red}, {colourGreenField, green}, {colourBlueField, blue}};
        for (auto [field, value] : fields) {
            ASSERT_NO_FATAL_FAILURE(clickControl(chooser, field));
            retype(std::to_string(value));
        }
        pressKey(VK_RETURN);
        ASSERT_TRUE(waitUntilClosed(chooser)) << "the colour dialog stayed open";
    }
};

TEST_F(DialogInput, AddressFieldOfTheEntryAndOfAMarkedBlockGoesToTheClipboard)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());

    // The second entry with Alt+C, then the first two marked with the
    // toolbar button: both addresses.
    pressKey(VK_DOWN);
    pressKey('C', {VK_MENU});
    EXPECT_EQ(waitForClipboard(), "am Markt \xC4rztehaus\r\nMarktstra\xDF" "e 4\r\n\r\n73033 G\xF6ppingen\r\n");
    pressKey(VK_UP, {VK_SHIFT});
    clearClipboard();
    ASSERT_NO_FATAL_FAILURE(clickCentre(GetDlgItem(toolbar, IDM_ADDRESSFIELD)));
    EXPECT_TRUE(waitForClipboard().starts_with("Anderson\r\n"));
    quitWithoutSaving();
}

TEST_F(DialogInput, CalendarEntryAndSearchSendTheirTextsAndKeepTheirChoices)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    ASSERT_TRUE(findAndOpen("Br").starts_with("Braun, Heike\r\n"));

    // The entry text starts as the name; the pre-definition, a second
    // calendar, date and time are chosen from the keyboard and a click.
    pressKey('T', {VK_CONTROL});
    HWND dialog = waitForDialog(IDC_CALENTRY_OK);
    ASSERT_TRUE(dialog) << "the calendar entry dialog did not open";
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_CALENTRY_TEXT)), "Braun");
    pressKey(VK_END);
    typeText(" 60th");
    pressKey('E', {VK_MENU});
    pressKey('3', {VK_MENU});
    ASSERT_NO_FATAL_FAILURE(clickControl(dialog, IDC_CALENTRY_CAL2));
    pressKey('D', {VK_MENU});
    retype("24.12.2031");
    pressKey('I', {VK_MENU});
    retype("18.30.45");   // seconds can be typed; only hour and minute are sent
    EXPECT_TRUE(waitUntil([&] { return windowText(GetDlgItem(dialog, IDC_CALENTRY_TIME)) == "18.30.45"; },
                          waitLimitMs, &lumo));
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_TRUE(waitForCalendarText("TS110024.12.2031 18.30 eMail: <Braun 60th>"));

    // A two-digit year is refused with the message and nothing is sent;
    // the choices made stay for the next time.
    pressKey('T', {VK_CONTROL});
    dialog = waitForDialog(IDC_CALENTRY_OK);
    ASSERT_TRUE(dialog);
    pressKey('D', {VK_MENU});
    retype("24.12.31");
    pressKey(VK_RETURN);
    SeenMessageBox box = waitForMessageBox(lumo);
    EXPECT_EQ(box.text, "Always fill in the complete\ndate (dd.mm.yyyy) and time (hh.mm.ss) please!");
    answer(box, IDOK, lumo);
    pressKey('T', {VK_CONTROL});
    dialog = waitForDialog(IDC_CALENTRY_OK);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(isChecked(dialog, IDC_CALENTRY_CAL2) && isChecked(dialog, IDC_PREDEF_RADIO3));
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitUntilClosed(dialog));

    // The search: another text, calendar 3.
    pressKey('X', {VK_MENU});
    dialog = waitForDialog(IDC_CALSEARCH_OK);
    ASSERT_TRUE(dialog) << "the calendar search dialog did not open";
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_CALSEARCH_TEXT)), "Braun");
    typeText("Heike");
    pressKey('3', {VK_MENU});
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_TRUE(waitForCalendarText("XS3Heike"));

    quitWithoutSaving();
    std::vector<std::string> sent;
    for (const std::string& line : calendarLog())
        if (line.starts_with("TS") || line.starts_with("XS"))
            sent.push_back(line);
    EXPECT_EQ(sent, (std::vector<std::string>{"TS110024.12.2031 18.30 eMail: <Braun 60th>", "XS3Heike"}));
}

TEST_F(DialogInput, PreDefinitionKeysTypeAtTheCaretAndTheDialogKeepsItsTexts)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const std::string entry = findAndOpen("Br");
    ASSERT_TRUE(entry.starts_with("Braun, Heike\r\nLessingstra\xDF" "e 9\r\n"));
    auto withTyped = [&](const std::string& typed) {
        std::string changed = entry;
        changed.insert(changed.find("\r\n04109"), typed);
        return changed;
    };

    // Shift+F3 at the end of the street line types the third text.
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN);
    pressKey(VK_END);
    pressKey(VK_F3, {VK_SHIFT});
    EXPECT_EQ(copyAll(), withTyped("eMail: "));

    // The dialog from the menu: the third text changed, "Set" types it.
    pressKey('Z', {VK_CONTROL});
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN);
    pressKey(VK_END);
    pressKey('T', {VK_MENU});
    typeText("t");
    HWND dialog = waitForDialog(IDC_PREDEF_OK);
    ASSERT_TRUE(dialog) << "the text pre-definitions dialog did not open";
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_PREDEF_EDIT3)), "eMail: ");
    pressKey('3', {VK_MENU});
    pressKey(VK_TAB);
    retype("Mail to: ");
    pressKey('S', {VK_MENU});
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_EQ(copyAll(), withTyped("Mail to: "));

    quitWithoutSaving();
    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_STREQ(textPredefinitions[2], "Mail to: ");
}

TEST_F(DialogInput, ChangedColoursShowAtOnceAndAreKeptOrTakenBack)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const COLORREF green = RGB(10, 200, 30), purple = RGB(120, 20, 140);
    const COLORREF overviewGrey = RGB(230, 230, 230);
    ASSERT_EQ(waitForPixel(dataView, backgroundPoint(dataView), RGB(255, 255, 255)), RGB(255, 255, 255));
    ASSERT_EQ(waitForPixel(overview, backgroundPoint(overview), overviewGrey), overviewGrey);

    // The Data view's background, confirmed with OK.
    pressKey('T', {VK_MENU});
    typeText("c");
    HWND dialog = waitForDialog(IDC_COLOUR_OK);
    ASSERT_TRUE(dialog) << "the colours dialog did not open";
    ASSERT_NO_FATAL_FAILURE(chooseColour(dialog, IDC_COLOUR_DATABACK, 10, 200, 30));
    EXPECT_EQ(waitForPixel(dataView, backgroundPoint(dataView), green), green) << "the Data view was not repainted";
    ASSERT_NO_FATAL_FAILURE(clickControl(dialog, IDC_COLOUR_OK));
    ASSERT_TRUE(waitUntilClosed(dialog));

    // The Overview's background shows at once, and Cancel takes it back.
    pressKey('T', {VK_MENU});
    typeText("c");
    dialog = waitForDialog(IDC_COLOUR_OK);
    ASSERT_TRUE(dialog);
    ASSERT_NO_FATAL_FAILURE(chooseColour(dialog, IDC_COLOUR_OVERVIEWBACK, 120, 20, 140));
    EXPECT_EQ(waitForPixel(overview, backgroundPoint(overview), purple), purple) << "the Overview was not repainted";
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitUntilClosed(dialog));
    EXPECT_EQ(waitForPixel(overview, backgroundPoint(overview), overviewGrey), overviewGrey);
    EXPECT_EQ(waitForPixel(dataView, backgroundPoint(dataView), green), green);

    // The settings file keeps the colour.
    quitWithoutSaving();
    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_EQ(dataViewBackColour, green);
    EXPECT_EQ(overviewBackColour, overviewGrey);
}

// HKEY_CLASSES_ROOT\.htm pointed at the recorder for one test, and put
// back as it was afterwards.
class HtmAssociation {
public:
    explicit HtmAssociation(const std::string& command)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_READ, &key) == ERROR_SUCCESS) {
            char value[256] = "";
            DWORD size = sizeof value;
            if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
                previous = value;
            existed = true;
            RegCloseKey(key);
        }
        ok = setDefault(".htm", progId) && setDefault(std::string(progId) + "\\shell\\open\\command", command);
    }
    ~HtmAssociation()
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, progId);
        if (existed && previous)
            setDefault(".htm", *previous);
        else if (!existed)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    }
    bool ok = false;

private:
    static constexpr const char* progId = "LumoHelpTest.htm";
    bool existed = false;
    std::optional<std::string> previous;

    static bool setDefault(const std::string& path, const std::string& value)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        bool set = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
        RegCloseKey(key);
        return set;
    }
};

TEST_F(DialogInput, HelpOpensThePageBesideTheProgramOrSaysItIsMissing)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const std::string page = inFolder("DOC\\O_LUMO.HTM");

    // No page yet: the "?" menu's item says so.
    pressKey('T', {VK_MENU});
    pressKey(VK_RIGHT);
    pressKey(VK_RIGHT);
    typeText("h");
    SeenMessageBox box = waitForMessageBox(lumo);
    EXPECT_EQ(box.text, "The help file is missing:\n" + page);
    answer(box, IDOK, lumo);

    // The page in place: F1 hands it to the program the shell opens .htm with.
    ASSERT_TRUE(CreateDirectoryA(inFolder("DOC").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(helpPage.c_str(), page.c_str(), FALSE)) << "cannot copy " << helpPage;
    const std::string opened = inFolder("opened.txt");
    HtmAssociation association("\"" + openRecorder + "\" \"" + opened + "\" \"%1\"");
    ASSERT_TRUE(association.ok) << "cannot register the .htm association";
    pressKey(VK_F1);
    EXPECT_TRUE(waitUntil([&] { return fileExists(opened); }, waitLimitMs, &lumo)) << "the shell opened nothing";
    EXPECT_EQ(readWholeFile(opened).value_or(""), page);
    EXPECT_TRUE(messageBoxes(lumo.id).empty());

    quitWithoutSaving();
}

}  // namespace
