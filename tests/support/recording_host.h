// A host that writes down what the core asked the screen to do and answers
// questions and password prompts from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "shell/host.h"

struct RecordingHost : Host {
    std::vector<std::string> events;
    std::deque<bool> answers;            // askYesNo answers; No when empty
    std::deque<std::string> passwords;   // askPassword answers; "" when empty
    bool hasMainWindow = false;
    std::string title;
    std::string status;

    bool mainWindowExists() override { return hasMainWindow; }
    void beep() override;
    void showError(const char* caption, const char* text) override;
    void showInfo(const char* caption, const char* text) override;
    bool askYesNo(const char* caption, const char* text, bool ownedTopmost) override;
    void askPassword(PasswordPrompt which, char* buffer20) override;
    void minimizeMainWindow() override;
    void restoreMainWindow() override;
    void setTitle(const char* text) override;
    void setStatusText(const char* text) override;
    void enableMenuItem(int id, bool enabled) override;
    void makeViewActive(ViewId view) override;
    void repaint(ViewId view) override;
    void postQuit() override;

    // Events starting with the given prefix, e.g. "error".
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const;
};
