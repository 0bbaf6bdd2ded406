// The fixture of the end-to-end tests: the real ORDANE-Lumo.exe runs beside
// the calendar stand-in ORDANE.exe, each in a process of its own, and the
// tests look at what a user would see (message boxes, the title, the
// strips, the clipboard) and at what the programs leave behind (the
// settings file, the address file and its backup, the texts the calendar
// received).
//
// Each test copies the program into a fresh folder, because the program
// keeps its settings file beside itself.  Every wait has a deadline, and
// TearDown kills whatever is still running, so one failure cannot hang the
// suite or spill into the next test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"
#include "files/config.h"
#include "files/scramble.h"
#include "resources/resource.h"


inline const std::string lumoProgram = windowsPathOf(LUMO_PROGRAM);
inline const std::string calendarProgram = windowsPathOf(ORDANE_PROGRAM);
inline const std::string sampleBook = windowsPathOf(LUMO_SAMPLES_DIR "/sample.adr");

inline constexpr const char* mainWindowClass = "ORDANE-Lumo";
inline constexpr const char* dataViewClass = "Datensatz";
inline constexpr const char* caption = "ORDANE-Lumo:";
inline constexpr const char* greeting = "HALLO, HIER IST LUMO!";
inline constexpr const char* goodbye = "LumoQuit";
inline constexpr const char* saveQuestion = "Save Data now?";
inline constexpr const char* verificationWord = "quorvik";
inline constexpr const char* password = "geheim";
inline constexpr size_t longestWholeTitlePath = 70;

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

inline std::string unscramble(std::string bytes, const char* key)
{
    unscrambleBytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int32_t>(bytes.size()), key);
    return bytes;
}

// The entries of an address text, each with its closing empty line, in
// byte order.
inline std::vector<std::string> entriesOf(const std::string& text)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n\r\n", start);
        end = end == std::string::npos ? text.size() : end + 4;
        entries.push_back(text.substr(start, end - start));
        start = end;
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Loads the settings variables from a settings file; false when it is missing.
inline bool readSettingsFile(const std::string& path)
{
    setDefaultSettings(FontRecord{});
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    readConfiguration(file);
    std::fclose(file);
    return true;
}

inline void postCommand(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

class EndToEnd : public ::testing::Test {
protected:
    std::string folder;
    std::string lumoExe;
    std::string settingsPath;
    std::string logPath;
    ChildProcess calendar;
    std::vector<ChildProcess> lumos;

    void SetUp() override
    {
        static int testNumber = 0;
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        // Short, so that paths in it fit the title whole.
        folder = std::string(temp) + "le2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++testNumber);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        ASSERT_TRUE(std::filesystem::create_directories(folder)) << folder;
        lumoExe = inFolder("ORDANE-Lumo.exe");
        settingsPath = inFolder("O-LUMO.INF");
        logPath = inFolder("calendar.log");
        ASSERT_TRUE(CopyFileA(lumoProgram.c_str(), lumoExe.c_str(), FALSE)) << "cannot copy " << lumoProgram;
    }

    void TearDown() override
    {
        for (ChildProcess& lumo : lumos)
            endProcess(lumo);
        closeCalendar();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string inFolder(const std::string& name) const
    {
        return folder + "\\" + name;
    }

    // Writes the settings file beside the program: the settings of a first
    // start, changed by adjust.
    void writeSettings(const std::function<void()>& adjust = {})
    {
        LOGFONTA systemFont{};
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof systemFont, &systemFont);
        static_assert(sizeof systemFont == fontRecordSize);
        FontRecord record;
        std::memcpy(record.bytes, &systemFont, fontRecordSize);
        setDefaultSettings(record);
        if (adjust)
            adjust();
        ASSERT_TRUE(writeConfiguration(settingsPath.c_str()));
    }

    // Starts the stand-in, hidden unless asked otherwise, logging what it
    // receives, and waits until its window exists.  Script lines are sent
    // to the address book.
    void startCalendar(const std::vector<std::string>& script = {}, bool shown = false)
    {
        std::string readyPath = inFolder("calendar.ready");
        std::string commandLine =
            "\"" + calendarProgram + "\"" + (shown ? "" : " --hidden") + " --log \"" + logPath + "\" --ready \"" + readyPath + "\"";
        if (!script.empty()) {
            std::string lines;
            for (const std::string& line : script)
                lines += line + "\n";
            std::string scriptPath = inFolder("calendar.script");
            ASSERT_TRUE(writeWholeFile(scriptPath, lines));
            commandLine += " --script \"" + scriptPath + "\"";
        }
        calendar = startProcess(commandLine, folder);
        ASSERT_TRUE(calendar.handle) << "cannot start " << calendarProgram;
        ASSERT_TRUE(waitUntil([&] { return fileExists(readyPath); }, waitLimitMs, &calendar))
            << "the calendar stand-in did not get ready";
    }

    // Closes the stand-in the way a user would, or kills it.
    void closeCalendar()
    {
        if (isRunning(calendar)) {
            for (HWND window : topLevelWindows(calendar.id, "ORDANE"))
                PostMessageA(window, WM_CLOSE, 0, 0);
            waitForExit(calendar, 5000);
        }
        endProcess(calendar);
    }

    ChildProcess startLumo()
    {
        ChildProcess lumo = startProcess("\"" + lumoExe + "\"", folder);
        lumos.push_back(lumo);
        return lumo;
    }

    // The main window of that process once start-up is complete: shown,
    // with its views, and the process waiting for input.
    HWND waitForMainWindow(const ChildProcess& lumo)
    {
        HWND found = nullptr;
        waitUntil(
            [&] {
                for (HWND window : topLevelWindows(lumo.id, mainWindowClass)) {
                    if (IsWindowVisible(window) && FindWindowExA(window, nullptr, dataViewClass, nullptr)) {
                        found = window;
                        return true;
                    }
                }
                return false;
            },
            waitLimitMs, &lumo);
        if (found)
            WaitForInputIdle(lumo.handle, waitLimitMs);
        return found;
    }

    SeenMessageBox waitForMessageBox(const ChildProcess& process)
    {
        SeenMessageBox box;
        waitUntil(
            [&] {
                auto boxes = messageBoxes(process.id);
                if (boxes.empty())
                    return false;
                box = boxes.front();
                return true;
            },
            waitLimitMs, &process);
        return box;
    }

    // Presses a button of a message box and waits until the box is gone.
    void answer(const SeenMessageBox& box, int buttonId, const ChildProcess& process)
    {
        pressButton(box.window, buttonId);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.window); }, waitLimitMs, &process))
            << "the message box stayed open";
    }

    std::vector<std::string> calendarLog() const
    {
        return splitLines(readWholeFile(logPath).value_or(""));
    }

    bool waitForCalendarText(const std::string& text) const
    {
        return waitUntil([&] {
            for (const std::string& line : calendarLog())
                if (line == text)
                    return true;
            return false;
        });
    }

    // The process ends by itself with exit code 0 and asks nothing more.
    void expectCleanExit(const ChildProcess& process)
    {
        std::optional<DWORD> code = waitForExitWithoutQuestions(process);
        ASSERT_TRUE(code) << "the program did not end";
        EXPECT_EQ(*code, 0u);
    }

    // Waits for the process to end; a message box that opens meanwhile is
    // a failure and is answered No so that the process can go on.
    std::optional<DWORD> waitForExitWithoutQuestions(const ChildProcess& process)
    {
        std::optional<DWORD> code;
        std::vector<HWND> answered;
        waitUntil(
            [&] {
                for (const SeenMessageBox& box : messageBoxes(process.id)) {
                    if (std::find(answered.begin(), answered.end(), box.window) != answered.end())
                        continue;
                    ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": " << box.text;
                    answered.push_back(box.window);
                    pressButton(box.window, GetDlgItem(box.window, IDNO) ? IDNO : IDOK);
                }
                code = waitForExit(process, 0);
                return code.has_value();
            },
            waitLimitMs, &process);
        return code;
    }

    // A copy of the sample book beside the program, named in the settings
    // as the last file, so that the program opens it at start-up.
    std::string bookWithSettings(bool autoSaveData)
    {
        std::string book = inFolder("sample.adr");
        EXPECT_TRUE(CopyFileA(sampleBook.c_str(), book.c_str(), FALSE)) << "cannot copy " << sampleBook;
        EXPECT_LE(book.size(), longestWholeTitlePath) << "the temporary folder's path is too long for the title";
        writeSettings([&] {
            std::strncpy(currentFilePath, book.c_str(), pathSize - 1);
            ::autoSaveData = autoSaveData;
        });
        return book;
    }

    // The running program with the sample book told to quit, after
    // "Activate password protection" (answered with the same password
    // twice) has changed the book.
    void quitWithChangedBook(const ChildProcess& lumo)
    {
        HWND mainWindow = waitForMainWindow(lumo);
        ASSERT_TRUE(mainWindow) << "no main window";
        postCommand(mainWindow, IDM_PASSWORD);
        HWND dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (dialog = dialogHolding(lumo.id, IDC_SETPW_OK)) != nullptr; },
                              waitLimitMs, &lumo))
            << "the password dialog did not open";
        ASSERT_TRUE(setWindowText(GetDlgItem(dialog, IDC_SETPW_PASSWORD), password));
        ASSERT_TRUE(setWindowText(GetDlgItem(dialog, IDC_SETPW_REPEAT), password));
        pressButton(dialog, IDC_SETPW_OK);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, waitLimitMs, &lumo))
            << "the password dialog did not close";
        EXPECT_TRUE(messageBoxes(lumo.id).empty()) << "the password was refused";
        // The changed protection makes the data count as changed.
        EXPECT_TRUE(waitUntil([&] { return windowText(mainWindow).starts_with("*"); }, waitLimitMs, &lumo))
            << "title: " << windowText(mainWindow);
        postCommand(mainWindow, IDM_QUIT);
    }

    // The saved book must hold the entries of the old one, byte for byte,
    // protected with the password.  Their order may differ: the program
    // sorts the book after loading it, and entries whose headings compare
    // equal swap places in every sort.
    void expectProtectedCopyOf(const std::string& protectedBytes, const std::string& plainBytes)
    {
        ASSERT_GT(protectedBytes.size(), 8u);
        EXPECT_EQ(protectedBytes[0], 'P');
        EXPECT_EQ(unscramble(protectedBytes.substr(1, 7), password), verificationWord);
        std::string text = unscramble(protectedBytes.substr(8), password);
        EXPECT_TRUE(text.ends_with("\r\n\r\n"));
        EXPECT_TRUE(entriesOf(text) == entriesOf(plainBytes))
            << "the protected text does not unscramble to the entries of the book that was loaded";
    }
};

inline bool buttonPushed(HWND toolbar, int id)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(toolbar, id), BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return (state & BST_PUSHED) != 0;
}
