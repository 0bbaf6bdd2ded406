#include "support/recording_host.h"

#include <cstring>

#include "files/address_file.h"

void RecordingHost::beep()
{
    events.push_back("beep");
}

void RecordingHost::showError(const char* caption, const char* text)
{
    events.push_back(std::string("error|") + caption + "|" + text);
}

void RecordingHost::showInfo(const char* caption, const char* text)
{
    events.push_back(std::string("info|") + caption + "|" + text);
}

bool RecordingHost::askYesNo(const char* caption, const char* text, bool ownedTopmost)
{
    events.push_back(std::string("ask|") + caption + "|" + text + (ownedTopmost ? "|owned" : ""));
    if (answers.empty())
        return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

Host::Answer RecordingHost::askYesNoCancel(const char* caption, const char* text)
{
    events.push_back(std::string("ask3|") + caption + "|" + text);
    if (threeWayAnswers.empty())
        return Answer::Cancel;
    Answer answer = threeWayAnswers.front();
    threeWayAnswers.pop_front();
    return answer;
}

void RecordingHost::askNewPassword()
{
    events.push_back("password|new");
    std::memset(currentPassword, 0, sizeof currentPassword);
    if (!passwords.empty()) {
        passwords.front().copy(currentPassword, 19);
        passwords.pop_front();
    }
}

void RecordingHost::askPassword(PasswordPrompt which, char* buffer20)
{
    events.push_back(which == PasswordPrompt::Open ? "password|open" : "password|add");
    std::string answer;
    if (!passwords.empty()) {
        answer = passwords.front();
        passwords.pop_front();
    }
    std::strncpy(buffer20, answer.c_str(), 19);
    buffer20[19] = 0;
}

void RecordingHost::minimizeMainWindow()
{
    events.push_back("minimize");
}

void RecordingHost::restoreMainWindow()
{
    events.push_back("restore");
}

void RecordingHost::setTitle(const char* text)
{
    title = text;
}

void RecordingHost::setStatusText(const char* text)
{
    status = text;
    events.push_back(std::string("status|") + text);
}

void RecordingHost::enableMenuItem(int id, bool enabled)
{
    events.push_back("menu|" + std::to_string(id) + (enabled ? "|on" : "|off"));
}

void RecordingHost::makeViewActive(ViewId view)
{
    events.push_back(view == ViewId::Overview ? "active|overview" : "active|data");
}

void RecordingHost::repaint(ViewId view)
{
    events.push_back(view == ViewId::Overview ? "repaint|overview" : "repaint|data");
}

void RecordingHost::postQuit()
{
    events.push_back("quit");
}

std::vector<std::string> RecordingHost::eventsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const auto& event : events)
        if (event.compare(0, prefix.size(), prefix) == 0)
            found.push_back(event);
    return found;
}

void RecordingHost::setMenuItemText(int id, const char* text)
{
    menuTexts[id] = text;
}

void RecordingHost::checkMenuItem(int id, bool checked)
{
    menuChecks[id] = checked;
}

bool RecordingHost::chooseFile(FileDialog which, char* path512)
{
    static const char* names[] = {"open", "add", "save", "entryblock", "textblock", "any", "import", "export"};
    events.push_back(std::string("file|") + names[static_cast<int>(which)] + "|" + path512);
    std::string answer;
    if (!chosenFiles.empty()) {
        answer = chosenFiles.front();
        chosenFiles.pop_front();
    }
    if (answer.empty())
        return false;
    std::strncpy(path512, answer.c_str(), 511);
    path512[511] = 0;
    return true;
}

BlockChoice RecordingHost::askBlockOrAll()
{
    events.push_back("blockquestion");
    return blockChoice;
}

int64_t RecordingHost::freeDiskSpace(const char* root)
{
    events.push_back(std::string("freespace|") + root);
    return freeSpace;
}
