// End-to-end tests of start-up, quit and saving at quit.

#include "e2e/e2e_fixture.h"

namespace {

TEST_F(EndToEnd, RefusesToRunWithoutTheCalendarAndStillSavesItsSettings)
{
    ChildProcess lumo = startLumo();
    ASSERT_TRUE(lumo.handle) << "cannot start " << lumoExe;

    SeenMessageBox box = waitForMessageBox(lumo);
    ASSERT_TRUE(box.window) << "no message box";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, "You\x92ve not started a ORDANE!");
    for (HWND window : topLevelWindows(lumo.id, mainWindowClass))
        EXPECT_FALSE(IsWindowVisible(window)) << "the main window was shown before the refusal";
    answer(box, IDOK, lumo);

    ASSERT_NO_FATAL_FAILURE(expectCleanExit(lumo));
    // Saving the settings at the end is on when there is no settings file.
    std::optional<std::string> settings = readWholeFile(settingsPath);
    ASSERT_TRUE(settings) << "no settings file written";
    EXPECT_TRUE(settings->starts_with("O-Lumo "));
}

TEST_F(EndToEnd, SecondCopyIsRefusedAndLeavesTheSettingsAlone)
{
    ASSERT_NO_FATAL_FAILURE(writeSettings());
    ASSERT_NO_FATAL_FAILURE(startCalendar());
    ChildProcess first = startLumo();
    HWND firstWindow = waitForMainWindow(first);
    ASSERT_TRUE(firstWindow) << "the first copy did not start";
    std::string settingsBefore = readWholeFile(settingsPath).value_or("");
    ULONGLONG writtenBefore = lastWriteTime(settingsPath);

    ChildProcess second = startLumo();
    SeenMessageBox box = waitForMessageBox(second);
    ASSERT_TRUE(box.window) << "the second copy showed no message";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, "ORDANE-Lumo is already active!");
    EXPECT_TRUE(topLevelWindows(second.id, mainWindowClass).empty()) << "the second copy made a main window";
    answer(box, IDOK, second);
    std::optional<DWORD> code = waitForExitWithoutQuestions(second);
    ASSERT_TRUE(code) << "the second copy did not end";
    EXPECT_EQ(*code, 1u);
    EXPECT_EQ(lastWriteTime(settingsPath), writtenBefore);
    EXPECT_TRUE(readWholeFile(settingsPath).value_or("") == settingsBefore) << "the settings file changed";

    // The first copy is unharmed and quits from its system menu.
    ASSERT_TRUE(isRunning(first));
    EXPECT_TRUE(IsWindow(firstWindow));
    PostMessageA(firstWindow, WM_SYSCOMMAND, IDM_QUIT, 0);
    code = waitForExitWithoutQuestions(first);
    ASSERT_TRUE(code) << "the first copy did not end";
    EXPECT_EQ(*code, 0u);
    // The second copy never greeted nor said goodbye: the calendar heard
    // only the first one.
    ASSERT_TRUE(waitForCalendarText(goodbye));
    EXPECT_EQ(calendarLog(), (std::vector<std::string>{greeting, goodbye}));
}

TEST_F(EndToEnd, QuitsWhenTheCalendarSaysSoAndSavesItsSettings)
{
    // No window place stored yet: the program chooses one and keeps it.
    ASSERT_NO_FATAL_FAILURE(writeSettings([] { windowArrangement = 2; }));
    ASSERT_NO_FATAL_FAILURE(startCalendar({"@wait-text " + std::string(greeting), "OrdaneQuit"}));
    ChildProcess lumo = startLumo();
    ASSERT_TRUE(lumo.handle);

    std::optional<DWORD> code = waitForExitWithoutQuestions(lumo);
    ASSERT_TRUE(code) << "the program did not quit on OrdaneQuit";
    EXPECT_EQ(*code, 0u);
    ASSERT_TRUE(waitForCalendarText(goodbye));
    EXPECT_EQ(calendarLog(), (std::vector<std::string>{greeting, goodbye}));

    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_GT(mainWindowRect.width, 0) << "the window place was not saved";
    EXPECT_GT(mainWindowRect.height, 0);
    EXPECT_EQ(windowArrangement, 2);
}

TEST_F(EndToEnd, ToolbarFollowsTheCalendarWindows)
{
    ASSERT_NO_FATAL_FAILURE(startCalendar({"OpenKal1", "ORDANE000001"}));
    ChildProcess lumo = startLumo();
    HWND mainWindow = waitForMainWindow(lumo);
    ASSERT_TRUE(mainWindow) << "no main window";
    HWND toolbar = childDialogHolding(mainWindow, IDM_CALENDAR1);
    ASSERT_TRUE(toolbar) << "no toolbar";

    EXPECT_TRUE(waitUntil([&] { return buttonPushed(toolbar, IDM_CALENDAR1) && buttonPushed(toolbar, IDM_ALARMWINDOW); },
                          waitLimitMs, &lumo));
    for (int button : {IDM_CALENDAR2, IDM_CALENDAR3, IDM_CALENDAR4, IDM_ANALOGCLOCK})
        EXPECT_FALSE(buttonPushed(toolbar, button)) << button;

    // The other way round: the button asks the calendar to open its window,
    // the calendar reports it open, and the button shows it.
    postCommand(mainWindow, IDM_CALENDAR2);
    EXPECT_TRUE(waitForCalendarText("OpenKal2"));
    EXPECT_TRUE(waitUntil([&] { return buttonPushed(toolbar, IDM_CALENDAR2); }, waitLimitMs, &lumo));

    postCommand(mainWindow, IDM_QUIT);
    ASSERT_NO_FATAL_FAILURE(expectCleanExit(lumo));
}

TEST_F(EndToEnd, TitleAndStatusShowTheBookOpenedAtStartUp)
{
    std::string book = bookWithSettings(false);
    std::string original = readWholeFile(book).value_or("");
    ASSERT_NO_FATAL_FAILURE(startCalendar());
    ChildProcess lumo = startLumo();
    HWND mainWindow = waitForMainWindow(lumo);
    ASSERT_TRUE(mainWindow) << "no main window";
    HWND statusBar = childDialogHolding(mainWindow, IDC_STATUS_TEXT);
    ASSERT_TRUE(statusBar) << "no status bar";

    EXPECT_TRUE(waitUntil([&] { return windowText(mainWindow) == " " + book; }, waitLimitMs, &lumo))
        << "title: \"" << windowText(mainWindow) << "\"";
    EXPECT_EQ(windowText(GetDlgItem(statusBar, IDC_STATUS_TEXT)), "      38 Entries");

    // Closing the window quits; nothing changed, so nothing is asked or saved.
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ASSERT_NO_FATAL_FAILURE(expectCleanExit(lumo));
    EXPECT_TRUE(readWholeFile(book).value_or("") == original) << "the book was written";
    EXPECT_FALSE(fileExists(inFolder("sample.DUP")));
    // The book opened at start-up became the first recent file.
    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_STREQ(recentFiles[0], book.c_str());
}

// A changed book at quit: the question answered No keeps the file, Yes
// saves it (protected, the old file as the backup); with saving at the end
// switched on nothing is asked.
TEST_F(EndToEnd, QuitWithChangedDataSavesAsTheSettingsAndTheAnswerSay)
{
    const struct {
        bool autoSave;
        int reply;   // 0: no question
    } cases[] = {{false, IDNO}, {false, IDYES}, {true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        std::string book = bookWithSettings(c.autoSave);
        std::string original = readWholeFile(book).value_or("");
        for (const char* left : {"sample.DUP", "calendar.log", "calendar.ready"})
            DeleteFileA(inFolder(left).c_str());
        ASSERT_NO_FATAL_FAILURE(startCalendar());
        ChildProcess lumo = startLumo();
        ASSERT_NO_FATAL_FAILURE(quitWithChangedBook(lumo));
        if (c.reply) {
            SeenMessageBox box = waitForMessageBox(lumo);
            ASSERT_TRUE(box.window) << "no save question";
            EXPECT_EQ(box.caption, caption);
            EXPECT_EQ(box.text, saveQuestion);
            answer(box, c.reply, lumo);
        }
        ASSERT_NO_FATAL_FAILURE(expectCleanExit(lumo));
        EXPECT_TRUE(waitForCalendarText(goodbye));
        closeCalendar();
        if (c.reply == IDNO) {
            EXPECT_TRUE(readWholeFile(book).value_or("") == original) << "the book was written";
            EXPECT_FALSE(fileExists(inFolder("sample.DUP")));
            continue;
        }
        expectProtectedCopyOf(readWholeFile(book).value_or(""), original);
        // The old plain book, protected as the new one is.
        expectProtectedCopyOf(readWholeFile(inFolder("sample.DUP")).value_or(""), original);
    }
}

// The disk is full at quit (every write fails): the book, its backup and the
// settings stay as they were, no temporary file is left, and the edits are
// not dropped without asking; No goes back to the still open window.
TEST_F(EndToEnd, FailedSaveAtQuitChangesNoFileAndAsksBeforeDroppingTheEdits)
{
    std::string book = bookWithSettings(true);
    std::string original = readWholeFile(book).value_or("");
    std::string settings = readWholeFile(settingsPath).value_or("");
    ASSERT_NO_FATAL_FAILURE(startCalendar());
    SetEnvironmentVariableA("LUMO_FAIL_WRITE_AFTER", "0");
    ChildProcess lumo = startLumo();
    SetEnvironmentVariableA("LUMO_FAIL_WRITE_AFTER", nullptr);
    ASSERT_NO_FATAL_FAILURE(quitWithChangedBook(lumo));

    auto failAndAsk = [&](int reply) {
        SeenMessageBox box = waitForMessageBox(lumo);
        ASSERT_TRUE(box.window) << "no error message";
        EXPECT_EQ(box.text, "Cannot save file!");
        answer(box, IDOK, lumo);
        box = waitForMessageBox(lumo);
        ASSERT_TRUE(box.window) << "no question";
        EXPECT_EQ(box.text, "The data has not been saved.\nQuit ORDANE-Lumo without saving?");
        answer(box, reply, lumo);
    };
    ASSERT_NO_FATAL_FAILURE(failAndAsk(IDNO));
    HWND mainWindow = waitForMainWindow(lumo);
    ASSERT_TRUE(mainWindow && isRunning(lumo)) << "the program did not go back to work";
    EXPECT_TRUE(windowText(mainWindow).starts_with("*")) << "the edits no longer count as unsaved";

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ASSERT_NO_FATAL_FAILURE(failAndAsk(IDYES));
    ASSERT_NO_FATAL_FAILURE(expectCleanExit(lumo));
    EXPECT_TRUE(readWholeFile(book).value_or("") == original) << "the book changed";
    EXPECT_TRUE(readWholeFile(settingsPath).value_or("") == settings) << "the settings changed";
    EXPECT_FALSE(fileExists(inFolder("sample.DUP")));
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_FALSE(entry.path().string().ends_with(".lumo-tmp")) << entry.path().string();
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
