// The resource script as the program sees it, loaded from this test's own module.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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
    else if (hint == "INS" || hint == "EINFG")
        k.key = VK_INSERT;
    else if (hint.size() >= 2 && hint[0] == 'F' && std::all_of(hint.begin() + 1, hint.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        k.key = WORD(VK_F1 + std::stoi(hint.substr(1)) - 1);
    else
        return std::nullopt;  // ranges such as "F1-F10/Alt+F"
    return k;
}

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

TEST(Resources, GermanMenuHasTheStructureOfTheEnglishOne)
{
    std::vector<MenuItem> english = loadMenuItems(IDR_MENU);
    std::vector<MenuItem> german = loadMenuItems(IDR_MENU_GERMAN);
    ASSERT_EQ(english.size(), german.size());
    for (size_t i = 0; i < english.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i) + " \"" + english[i].text + "\"");
        auto shape = [](const MenuItem& m) { return std::tuple(m.id, m.type, m.state, m.depth, m.popup, m.text.empty()); };
        EXPECT_EQ(shape(english[i]), shape(german[i]));
    }
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

// Every dialog with its German twin (the status bar has none).
const int dialogTwins[][2] = {{IDD_BLOCKQUESTION, IDD_BLOCKQUESTION_DE}, {IDD_SEARCH, IDD_SEARCH_DE},
                              {IDD_GENERALCONFIG, IDD_GENERALCONFIG_DE}, {IDD_SETPASSWORD, IDD_SETPASSWORD_DE},
                              {IDD_OPENPASSWORD, IDD_OPENPASSWORD_DE},   {IDD_ADDPASSWORD, IDD_ADDPASSWORD_DE},
                              {IDD_INFO, IDD_INFO_DE},                   {IDD_PREDEFINITIONS, IDD_PREDEFINITIONS_DE},
                              {IDD_CALENDARENTRY, IDD_CALENDARENTRY_DE}, {IDD_CALENDARSEARCH, IDD_CALENDARSEARCH_DE},
                              {IDD_COLOURS, IDD_COLOURS_DE},             {IDD_SYNCSETTINGS, IDD_SYNCSETTINGS_DE},
                              {IDD_SYNCPASSWORD, IDD_SYNCPASSWORD_DE},   {IDD_STATUSBAR, IDD_STATUSBAR}};

// The German twins have the English ones' controls, and no dialog has a
// control outside it or laid over another.
TEST(Resources, DialogsAreTidyAndTheGermanOnesHaveTheEnglishControls)
{
    for (auto [english, german] : dialogTwins) {
        SCOPED_TRACE("dialogs " + std::to_string(english) + " and " + std::to_string(german));
        expectTidyLayout(english);
        if (german == english)
            continue;
        expectTidyLayout(german);
        Dialog e, g;
        openDialog(english, e);
        openDialog(german, g);
        ASSERT_EQ(e.controls.size(), g.controls.size());
        for (size_t i = 0; i < e.controls.size(); ++i) {
            auto shape = [](const Control& c) { return std::tuple(c.id, c.cls, c.style); };
            EXPECT_EQ(shape(e.controls[i]), shape(g.controls[i])) << "control " << i;
        }
    }
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