// The resource script as the program sees it: loaded from this test's own
// module, which links lumo.rc.  Checks what hand-edited resources get wrong:
// menu hints that promise keys the accelerator table does not give, German
// twins that drift from the English originals, controls laid over each
// other, pictures that do not fit their buttons, a second manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"

namespace {

HINSTANCE module()
{
    return GetModuleHandleA(nullptr);
}

// ---- Menus ----------------------------------------------------------------

struct MenuItem {
    UINT id;
    UINT type;
    UINT state;
    std::string text;
    int depth;
    bool popup;
};

void collectMenu(HMENU menu, int depth, std::vector<MenuItem>& items)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        items.push_back({info.hSubMenu ? 0 : info.wID, info.fType, info.fState, text, depth, info.hSubMenu != nullptr});
        if (info.hSubMenu)
            collectMenu(info.hSubMenu, depth + 1, items);
    }
}

std::vector<MenuItem> loadMenuItems(int id)
{
    HMENU menu = LoadMenuA(module(), MAKEINTRESOURCEA(id));
    EXPECT_NE(menu, nullptr) << "menu " << id;
    std::vector<MenuItem> items;
    if (menu) {
        collectMenu(menu, 0, items);
        DestroyMenu(menu);
    }
    return items;
}

const MenuItem* findItem(const std::vector<MenuItem>& items, UINT id)
{
    for (const MenuItem& item : items)
        if (!item.popup && item.id == id)
            return &item;
    return nullptr;
}

// ---- Accelerators ---------------------------------------------------------

std::vector<ACCEL> loadAccelerators()
{
    HACCEL table = LoadAcceleratorsA(module(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    EXPECT_NE(table, nullptr);
    std::vector<ACCEL> entries(256);
    entries.resize(table ? CopyAcceleratorTableA(table, entries.data(), int(entries.size())) : 0);
    return entries;
}

// The command a key with exactly these modifiers gives, if any.
std::optional<WORD> commandFor(const std::vector<ACCEL>& table, BYTE modifiers, WORD key)
{
    for (const ACCEL& a : table)
        if ((a.fVirt & (FCONTROL | FALT | FSHIFT)) == modifiers && a.key == key && (a.fVirt & FVIRTKEY))
            return a.cmd;
    return std::nullopt;
}

struct Key {
    BYTE modifiers;
    WORD key;
};

// The key a menu hint names ("\tCtrl+O", "\tStrg+F1", "\tAlt+X", "\tF1"),
// if it names exactly one.
std::optional<Key> hintKey(const std::string& text)
{
    size_t tab = text.find('\t');
    if (tab == std::string::npos)
        return std::nullopt;
    std::string hint = text.substr(tab + 1);
    hint.erase(std::remove(hint.begin(), hint.end(), ' '), hint.end());
    Key k{0, 0};
    for (;;) {
        size_t plus = hint.find('+');
        if (plus == std::string::npos)
            break;
        std::string modifier = hint.substr(0, plus);
        if (modifier == "Ctrl" || modifier == "Strg")
            k.modifiers |= FCONTROL;
        else if (modifier == "Alt")
            k.modifiers |= FALT;
        else if (modifier == "Shift" || modifier == "Umschalt")
            k.modifiers |= FSHIFT;
        else
            return std::nullopt;
        hint.erase(0, plus + 1);
    }
    if (hint.size() == 1 && std::isalnum(static_cast<unsigned char>(hint[0])))
        k.key = WORD(hint[0]);
    else if (hint.size() >= 2 && hint[0] == 'F' && std::all_of(hint.begin() + 1, hint.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        k.key = WORD(VK_F1 + std::stoi(hint.substr(1)) - 1);
    else
        return std::nullopt;  // "INS", ranges such as "F1-F10/Alt+F"
    return k;
}

// ---- Dialogs --------------------------------------------------------------

struct Control {
    int id;
    std::string cls;
    LONG style;
    RECT rect;  // in the dialog's client coordinates
};

struct Dialog {
    HWND window = nullptr;
    std::vector<Control> controls;
    ~Dialog()
    {
        if (window)
            DestroyWindow(window);
    }
    const Control* find(int id) const
    {
        for (const Control& c : controls)
            if (c.id == id)
                return &c;
        return nullptr;
    }
};

INT_PTR CALLBACK quietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A hidden top-level window as owner and parent of the dialogs.
HWND hostWindow()
{
    static HWND host = CreateWindowA("STATIC", "host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, module(), nullptr);
    return host;
}

void openDialog(int id, Dialog& dialog)
{
    dialog.window = CreateDialogParamA(module(), MAKEINTRESOURCEA(id), hostWindow(), quietDialogProc, 0);
    ASSERT_NE(dialog.window, nullptr) << "dialog template " << id;
    for (HWND child = GetWindow(dialog.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Control c;
        char cls[64];
        GetClassNameA(child, cls, sizeof cls);
        c.id = GetDlgCtrlID(child);
        c.cls = cls;
        c.style = GetWindowLongA(child, GWL_STYLE);
        GetWindowRect(child, &c.rect);
        MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&c.rect), 2);
        dialog.controls.push_back(c);
    }
}

bool isGroupBox(const Control& c)
{
    return c.cls == "Button" && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool hasStyle(const Control* c, LONG style)
{
    return c && (c->style & style) == style;
}

// Every control inside the client area, and none laid over another (group
// boxes frame others and do not count).
void expectTidyLayout(int id)
{
    SCOPED_TRACE("dialog " + std::to_string(id));
    Dialog d;
    openDialog(id, d);
    RECT client;
    GetClientRect(d.window, &client);
    for (size_t i = 0; i < d.controls.size(); ++i) {
        const Control& a = d.controls[i];
        EXPECT_TRUE(a.rect.left >= 0 && a.rect.top >= 0 && a.rect.right <= client.right && a.rect.bottom <= client.bottom)
            << "control " << a.id << " sticks out of the dialog";
        for (size_t j = i + 1; j < d.controls.size(); ++j) {
            const Control& b = d.controls[j];
            RECT overlap;
            if (isGroupBox(a) || isGroupBox(b))
                continue;
            EXPECT_FALSE(IntersectRect(&overlap, &a.rect, &b.rect))
                << "controls " << i << " (id " << a.id << ") and " << j << " (id " << b.id << ") overlap";
        }
    }
}

// ---- Raw resources --------------------------------------------------------

const BITMAPINFOHEADER* bitmapHeader(int id)
{
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!found)
        return nullptr;
    return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module(), found)));
}

BOOL CALLBACK countName(HMODULE, LPCSTR, LPSTR, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK collectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR out)
{
    reinterpret_cast<std::vector<WORD>*>(out)->push_back(language);
    return TRUE;
}

// ---- Tests: menus and keys --------------------------------------------------

TEST(Resources, GermanMenuHasTheStructureOfTheEnglishOne)
{
    std::vector<MenuItem> english = loadMenuItems(IDR_MENU);
    std::vector<MenuItem> german = loadMenuItems(IDR_MENU_GERMAN);
    ASSERT_EQ(english.size(), german.size());
    for (size_t i = 0; i < english.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i) + " \"" + english[i].text + "\"");
        EXPECT_EQ(english[i].id, german[i].id);
        EXPECT_EQ(english[i].type, german[i].type);
        EXPECT_EQ(english[i].state, german[i].state);
        EXPECT_EQ(english[i].depth, german[i].depth);
        EXPECT_EQ(english[i].popup, german[i].popup);
        EXPECT_EQ(english[i].text.empty(), german[i].text.empty());
    }
}

TEST(Resources, MenuStartsWithTheEditCommandsGrayedAndEmptyRecentFiles)
{
    for (int menu : {IDR_MENU, IDR_MENU_GERMAN}) {
        SCOPED_TRACE("menu " + std::to_string(menu));
        std::vector<MenuItem> items = loadMenuItems(menu);
        for (UINT id : {IDM_UNDO, IDM_CUT, IDM_COPY, IDM_PASTE}) {
            const MenuItem* item = findItem(items, id);
            ASSERT_NE(item, nullptr) << id;
            EXPECT_TRUE(item->state & MFS_GRAYED) << id;
        }
        const MenuItem* first = findItem(items, IDM_RECENT0);
        ASSERT_NE(first, nullptr);
        size_t at = size_t(first - items.data());
        ASSERT_LE(at + 10, items.size());
        EXPECT_TRUE(items[at - 1].popup);
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_EQ(items[at + slot].id, UINT(IDM_RECENT0 + slot));
            EXPECT_EQ(items[at + slot].text, "");
            EXPECT_EQ(items[at + slot].depth, first->depth);
        }
    }
}

TEST(Resources, EveryMenuCommandIsInTheMenu)
{
    std::vector<MenuItem> items = loadMenuItems(IDR_MENU);
    const UINT commands[] = {IDM_NEW,           IDM_OPEN,          IDM_SAVE,          IDM_SAVEAS,        IDM_ADD,
                             IDM_DATACHECK,     IDM_PRINT,         IDM_PASSWORD,      IDM_QUIT,          IDM_UNDO,
                             IDM_CUT,           IDM_COPY,          IDM_PASTE,         IDM_SELECTALL,     IDM_SEARCH,
                             IDM_REPEATSEARCH,  IDM_REPLACE,       IDM_REPEATREPLACE, IDM_NEWENTRY,      IDM_CALENDARENTRY,
                             IDM_CALENDARSEARCH, IDM_ADDRESSFIELD, IDM_COLOURS,       IDM_FONT_DATAVIEW, IDM_FONT_OVERVIEW,
                             IDM_SAVECONFIG,    IDM_GENERALCONFIG, IDM_PREDEFINITIONS, IDM_CALENDAR1,    IDM_CALENDAR2,
                             IDM_CALENDAR3,     IDM_CALENDAR4,     IDM_ALARMWINDOW,   IDM_ANALOGCLOCK,   IDM_ROTATE,
                             IDM_SIDEBYSIDE,    IDM_ONEUPONOTHER,  IDM_HELP,          IDM_INFO};
    for (UINT id : commands)
        EXPECT_NE(findItem(items, id), nullptr) << id;
}

// What a menu item's hint promises, table 106 must give; the clock and the
// alarm window show keys that only the calendar program knows.
TEST(Resources, MenuKeyHintsMatchTheAcceleratorTable)
{
    std::vector<ACCEL> table = loadAccelerators();
    for (int menu : {IDR_MENU, IDR_MENU_GERMAN}) {
        int checked = 0;
        for (const MenuItem& item : loadMenuItems(menu)) {
            std::optional<Key> key = hintKey(item.text);
            if (item.popup || !key)
                continue;
            ++checked;
            std::optional<WORD> command = commandFor(table, key->modifiers, key->key);
            if (item.id == IDM_ANALOGCLOCK || item.id == IDM_ALARMWINDOW)
                EXPECT_FALSE(command.has_value()) << "\"" << item.text << "\"";
            else
                EXPECT_EQ(command, std::optional<WORD>(WORD(item.id))) << "\"" << item.text << "\"";
        }
        EXPECT_GE(checked, 25) << "menu " << menu;
    }
}

// Keys of table 106 that no menu hint shows.
TEST(Resources, AcceleratorsWithoutMenuHints)
{
    std::vector<ACCEL> table = loadAccelerators();
    struct Expected {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Expected expected[] = {
        {FCONTROL | FSHIFT, 'S', IDM_SAVEAS},  {FCONTROL | FSHIFT, 'O', IDM_ADD},
        {FCONTROL | FSHIFT, 'A', IDM_SELECTALL}, {0, VK_F3, IDM_REPEATSEARCH},
        {FSHIFT, VK_F1, IDM_PREDEF1},          {FSHIFT, VK_F4, IDM_PREDEF4},
        {FSHIFT, VK_F10, IDM_PREDEF10},        {FALT, 'F', IDM_FILESELECTOR},
        {FCONTROL, '0', IDM_RECENT0},          {FCONTROL, '9', IDM_RECENT9},
        {FCONTROL, 'I', IDM_INFO},
    };
    for (const Expected& e : expected)
        EXPECT_EQ(commandFor(table, e.modifiers, e.key), std::optional<WORD>(e.command)) << e.command;
    // Insert reaches the window procedure as a key, in either view.
    for (const ACCEL& a : table)
        EXPECT_NE(a.key, VK_INSERT);
    // No key twice with the same modifiers.
    for (size_t i = 0; i < table.size(); ++i)
        for (size_t j = i + 1; j < table.size(); ++j)
            EXPECT_FALSE(table[i].key == table[j].key && table[i].fVirt == table[j].fVirt)
                << table[i].cmd << " and " << table[j].cmd;
}

// ---- Tests: dialogs -----------------------------------------------------------

TEST(Resources, GermanDialogsHaveTheControlsOfTheEnglishOnes)
{
    const int twins[][2] = {{IDD_BLOCKQUESTION, IDD_BLOCKQUESTION_DE}, {IDD_SEARCH, IDD_SEARCH_DE},
                            {IDD_GENERALCONFIG, IDD_GENERALCONFIG_DE}, {IDD_SETPASSWORD, IDD_SETPASSWORD_DE},
                            {IDD_OPENPASSWORD, IDD_OPENPASSWORD_DE},   {IDD_ADDPASSWORD, IDD_ADDPASSWORD_DE},
                            {IDD_INFO, IDD_INFO_DE}};
    for (auto [english, german] : twins) {
        SCOPED_TRACE("dialogs " + std::to_string(english) + " and " + std::to_string(german));
        Dialog e, g;
        openDialog(english, e);
        openDialog(german, g);
        ASSERT_EQ(e.controls.size(), g.controls.size());
        for (size_t i = 0; i < e.controls.size(); ++i) {
            EXPECT_EQ(e.controls[i].id, g.controls[i].id) << "control " << i;
            EXPECT_EQ(e.controls[i].cls, g.controls[i].cls) << "control " << i;
            EXPECT_EQ(e.controls[i].style, g.controls[i].style) << "control " << i;
        }
    }
}

TEST(Resources, DialogsAreLaidOutWithoutOverlaps)
{
    for (int id : {IDD_BLOCKQUESTION, IDD_BLOCKQUESTION_DE, IDD_SEARCH, IDD_SEARCH_DE, IDD_GENERALCONFIG,
                   IDD_GENERALCONFIG_DE, IDD_SETPASSWORD, IDD_SETPASSWORD_DE, IDD_OPENPASSWORD, IDD_OPENPASSWORD_DE,
                   IDD_ADDPASSWORD, IDD_ADDPASSWORD_DE, IDD_INFO, IDD_INFO_DE, IDD_STATUSBAR})
        expectTidyLayout(id);
}

TEST(Resources, DialogControlsHaveTheirIdsAndKinds)
{
    {
        Dialog d;
        openDialog(IDD_GENERALCONFIG, d);
        for (int id : {IDC_GC_SEPARATOR1, IDC_GC_SEPARATOR2, IDC_GC_SEPARATOR3, IDC_GC_SEPARATOR4, IDC_GC_SEPARATOR5})
            EXPECT_EQ(d.find(id) ? d.find(id)->cls : "", "Edit") << id;
        for (int id : {IDC_GC_ORDER1, IDC_GC_ORDER2, IDC_GC_ORDER3, IDC_GC_ORDER4, IDC_GC_ORDER5})
            EXPECT_TRUE(hasStyle(d.find(id), ES_NUMBER)) << id;
        for (int id : {IDC_GC_EMPTYLINE1, IDC_GC_EMPTYLINE2, IDC_GC_EMPTYLINE3, IDC_GC_EMPTYLINE4, IDC_GC_SWAPNAMES,
                       IDC_GC_AUTOSAVEDATA, IDC_GC_AUTOSAVECONFIG})
            EXPECT_TRUE(hasStyle(d.find(id), BS_AUTOCHECKBOX)) << id;
        EXPECT_TRUE(hasStyle(d.find(IDC_GC_OK), BS_DEFPUSHBUTTON));
        EXPECT_NE(d.find(IDCANCEL), nullptr);
        // Each empty-line box stands under the gap between two order fields.
        const int order[] = {IDC_GC_ORDER1, IDC_GC_ORDER2, IDC_GC_ORDER3, IDC_GC_ORDER4, IDC_GC_ORDER5};
        const int empty[] = {IDC_GC_EMPTYLINE1, IDC_GC_EMPTYLINE2, IDC_GC_EMPTYLINE3, IDC_GC_EMPTYLINE4};
        for (int i = 0; i < 4; ++i) {
            const Control *box = d.find(empty[i]), *left = d.find(order[i]), *right = d.find(order[i + 1]);
            ASSERT_TRUE(box && left && right);
            int boxCentre = box->rect.left + GetSystemMetrics(SM_CXMENUCHECK) / 2;
            EXPECT_GT(boxCentre, left->rect.right) << i;
            EXPECT_LT(boxCentre, right->rect.left) << i;
        }
    }
    {
        Dialog d;
        openDialog(IDD_SETPASSWORD, d);
        EXPECT_TRUE(hasStyle(d.find(IDC_SETPW_PASSWORD), ES_PASSWORD));
        EXPECT_TRUE(hasStyle(d.find(IDC_SETPW_REPEAT), ES_PASSWORD));
        EXPECT_TRUE(hasStyle(d.find(IDC_SETPW_OK), BS_DEFPUSHBUTTON));
        EXPECT_NE(d.find(IDCANCEL), nullptr);
    }
    for (auto [id, edit, ok] : {std::tuple{IDD_OPENPASSWORD, IDC_OPENPW_PASSWORD, IDC_OPENPW_OK},
                                std::tuple{IDD_ADDPASSWORD, IDC_ADDPW_PASSWORD, IDC_ADDPW_OK}}) {
        Dialog d;
        openDialog(id, d);
        EXPECT_TRUE(hasStyle(d.find(edit), ES_PASSWORD)) << id;
        EXPECT_TRUE(hasStyle(d.find(ok), BS_DEFPUSHBUTTON)) << id;
        EXPECT_EQ(d.find(IDCANCEL), nullptr) << "these two have no cancel button";
    }
    {
        Dialog d;
        openDialog(IDD_BLOCKQUESTION, d);
        EXPECT_TRUE(hasStyle(d.find(IDC_BLOCK_BLOCK), BS_DEFPUSHBUTTON));
        EXPECT_NE(d.find(IDC_BLOCK_ALL), nullptr);
    }
    {
        Dialog d;
        openDialog(IDD_SEARCH, d);
        EXPECT_NE(d.find(IDC_FIND_TEXT), nullptr);
        for (int id = IDC_FIND_UP; id <= IDC_FIND_DOWNWRAP; ++id)
            EXPECT_TRUE(hasStyle(d.find(id), BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP)) << id;
        EXPECT_TRUE(hasStyle(d.find(IDC_FIND_MATCHCASE), BS_AUTOCHECKBOX));
        EXPECT_TRUE(hasStyle(d.find(IDC_FIND_OK), BS_DEFPUSHBUTTON));
    }
    {
        Dialog d;
        openDialog(IDD_STATUSBAR, d);
        EXPECT_FALSE(IsWindowEnabled(d.window));
        ASSERT_EQ(d.controls.size(), 1u);
        EXPECT_EQ(d.controls[0].id, IDC_STATUS_TEXT);
        EXPECT_EQ(d.controls[0].style & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
        EXPECT_TRUE(d.controls[0].style & SS_CENTERIMAGE);
    }
}

// The toolbar's pictures fit inside their buttons' borders, and the logo
// stays between the calendar buttons and the clock.
TEST(Resources, ToolbarPicturesFitTheirButtons)
{
    Dialog d;
    openDialog(IDD_TOOLBAR, d);
    const int pictures[][2] = {{IDM_CALENDAR1, IDB_CALENDAR1},         {IDM_CALENDAR2, IDB_CALENDAR2},
                               {IDM_CALENDAR3, IDB_CALENDAR3},         {IDM_CALENDAR4, IDB_CALENDAR4},
                               {IDM_ANALOGCLOCK, IDB_ANALOGCLOCK},     {IDM_ALARMWINDOW, IDB_ALARMWINDOW},
                               {IDM_CALENDARENTRY, IDB_CALENDARENTRY}, {IDM_CALENDARSEARCH, IDB_CALENDARSEARCH},
                               {IDM_ADDRESSFIELD, IDB_ADDRESSFIELD}};
    for (auto [button, bitmap] : pictures) {
        const Control* c = d.find(button);
        const BITMAPINFOHEADER* bmp = bitmapHeader(bitmap);
        ASSERT_TRUE(c && bmp) << button;
        EXPECT_TRUE(hasStyle(c, BS_BITMAP)) << button;
        EXPECT_LE(bmp->biWidth, c->rect.right - c->rect.left - 4) << button;
        EXPECT_LE(bmp->biHeight, c->rect.bottom - c->rect.top - 4) << button;
        EXPECT_LE(bmp->biBitCount, 8) << "LR_LOADMAP3DCOLORS needs a colour table: " << bitmap;
    }
    const Control* logo = d.find(IDC_TOOLBAR_LOGO);
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(hasStyle(logo, SS_BITMAP | SS_NOTIFY));
    EXPECT_GE(logo->rect.left, d.find(IDM_CALENDAR4)->rect.right);
    EXPECT_LE(logo->rect.right, d.find(IDM_ANALOGCLOCK)->rect.left);
    RECT client;
    GetClientRect(d.window, &client);
    EXPECT_LE(logo->rect.bottom, client.bottom);
}

// ---- Tests: pictures, cursors, version, manifest ------------------------------

TEST(Resources, SearchArrowsAreSixteenColours32By15)
{
    for (int id : {IDB_SEARCH_DOWNWRAP, IDB_SEARCH_UPWRAP, IDB_SEARCH_DOWN, IDB_SEARCH_UP}) {
        const BITMAPINFOHEADER* bmp = bitmapHeader(id);
        ASSERT_NE(bmp, nullptr) << id;
        EXPECT_EQ(bmp->biWidth, 32) << id;
        EXPECT_EQ(bmp->biHeight, 15) << id;
        EXPECT_EQ(bmp->biBitCount, 4) << id;
    }
}

TEST(Resources, EveryBitmapIconAndCursorLoads)
{
    for (int id : {IDB_CALENDAR1, IDB_CALENDAR2, IDB_CALENDAR3, IDB_CALENDAR4, IDB_ANALOGCLOCK, IDB_ALARMWINDOW,
                   IDB_INFO_DE, IDB_INFO, IDB_LOGO, IDB_TOOLBAR_PATTERN, IDB_CALENDARENTRY, IDB_CALENDARSEARCH,
                   IDB_ADDRESSFIELD}) {
        HBITMAP bitmap = LoadBitmapA(module(), MAKEINTRESOURCEA(id));
        EXPECT_NE(bitmap, nullptr) << id;
        DeleteObject(bitmap);
    }
    const BITMAPINFOHEADER* pattern = bitmapHeader(IDB_TOOLBAR_PATTERN);
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->biWidth, 8);
    EXPECT_EQ(pattern->biHeight, 8);

    for (int size : {32, 16})
        EXPECT_NE(LoadImageA(module(), MAKEINTRESOURCEA(IDI_LARGE), IMAGE_ICON, size, size, 0), nullptr) << size;
    EXPECT_NE(LoadImageA(module(), MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, 16, 16, 0), nullptr);

    HCURSOR hand = LoadCursorA(module(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 5u);  // the tip of the index finger
    EXPECT_EQ(info.yHotspot, 0u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_NE(LoadCursorA(module(), MAKEINTRESOURCEA(IDC_MOVE_CURSOR)), nullptr);
}

TEST(Resources, VersionIs1Point12)
{
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16) /* RT_VERSION */);
    ASSERT_NE(found, nullptr);
    // VS_VERSIONINFO: length, value length, type, L"VS_VERSION_INFO", padding,
    // then VS_FIXEDFILEINFO on a 32-bit boundary.
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    const BYTE* fixed = data + 6 + sizeof(L"VS_VERSION_INFO");
    fixed += (4 - (fixed - data) % 4) % 4;
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, fixed, sizeof info);
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwFileVersionMS, DWORD(MAKELONG(12, 1)));
    EXPECT_EQ(info.dwProductVersionMS, DWORD(MAKELONG(12, 1)));
}

TEST(Resources, ExactlyOneLanguageNeutralManifest)
{
    int names = 0;
    EnumResourceNamesA(module(), MAKEINTRESOURCEA(24) /* RT_MANIFEST */, countName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(names, 1);
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module(), MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), collectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{0});
}

}  // namespace
