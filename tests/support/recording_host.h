// A host that writes down what the core asked the screen to do and answers
// questions and password prompts from a script.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/host.h"

struct RecordingHost : Host {
    std::vector<std::string> events;
    std::deque<bool> answers;            // askYesNo answers; No when empty
    std::deque<std::string> passwords;   // askPassword and askNewPassword answers; "" when empty
    std::deque<Answer> threeWayAnswers;  // askYesNoCancel answers; Cancel when empty
    std::deque<std::string> chosenFiles; // file dialog answers; "" or none cancels
    BlockChoice blockChoice = BlockChoice::Closed;
    int64_t freeSpace = -1;
    std::string directory = "C:\\WORK";
    std::map<int, std::string> menuTexts;
    std::map<int, bool> menuChecks;
    bool hasMainWindow = false;
    std::string title;
    std::string status;

    bool mainWindowExists() override { return hasMainWindow; }
    void beep() override;
    void showError(const char* caption, const char* text) override;
    void showInfo(const char* caption, const char* text) override;
    bool askYesNo(const char* caption, const char* text, bool ownedTopmost) override;
    void askPassword(PasswordPrompt which, char* buffer20) override;
    Answer askYesNoCancel(const char* caption, const char* text) override;
    void askNewPassword() override;
    void minimizeMainWindow() override;
    void restoreMainWindow() override;
    void setTitle(const char* text) override;
    void setStatusText(const char* text) override;
    void enableMenuItem(int id, bool enabled) override;
    void makeViewActive(ViewId view) override;
    void repaint(ViewId view) override;
    void postQuit() override;
    void setMenuItemText(int id, const char* text) override;
    void checkMenuItem(int id, bool checked) override;
    bool chooseFile(FileDialog which, char* path512) override;
    BlockChoice askBlockOrAll() override;
    int64_t freeDiskSpace(const char* root) override;
    std::string currentDirectory() override { return directory; }

    // Events starting with the given prefix, e.g. "error".
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const;
};
