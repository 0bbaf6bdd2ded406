#include "dialogs/predefinitions.h"

#include <cstring>

#include "files/config.h"
#include "host/host.h"
#include "store/undo.h"
#include "views/record_editor.h"
#include "views/view_state.h"

int selectedPreDefinition = 1;
char lastChosenFile[512] = "";

namespace {

constexpr size_t longestTypedPath = 255;

// Feeds the bytes to the editor as typed characters; the first refusal
// (a line that would pass the length limit) ends the typing.
void typeCharacters(const std::string& text)
{
    for (char c : text)
        if (editEntry(static_cast<unsigned char>(c)) != 0)
            return;
}

// The file dialog's first name: the last chosen file, or "*.*" in the
// current directory.
void presetFileName(char* path512)
{
    if (lastChosenFile[0] != 0) {
        const size_t length = strnlen(lastChosenFile, 511);
        std::memcpy(path512, lastChosenFile, length);
        path512[length] = 0;
        return;
    }
    std::string preset = host().currentDirectory();
    if (preset.empty() || (preset.back() != '\\' && preset.back() != '/'))
        preset += '\\';
    preset += "*.*";
    std::strncpy(path512, preset.c_str(), 511);
    path512[511] = 0;
}

void runFileSelector()
{
    char path[512];
    presetFileName(path);
    if (!host().chooseFile(FileDialog::AnyFile, path))
        return;
    std::strncpy(lastChosenFile, path, sizeof lastChosenFile - 1);
    lastChosenFile[sizeof lastChosenFile - 1] = 0;
    typeCharacters(fileSelectorText(path));
}

}  // namespace

std::string fileSelectorText(const char* path)
{
    std::string typed;
    for (size_t i = 0; i < longestTypedPath && static_cast<unsigned char>(path[i]) >= 32; ++i)
        typed.push_back(path[i]);
    if (typed.find(' ') == std::string::npos)
        return '"' + typed + '"';
    std::string quoted = "\"'";
    for (char c : typed) {
        quoted.push_back(c);
        if (c == '\'')
            quoted.push_back('\'');
    }
    return quoted + "'\"";
}

void typePreDefinition(int number)
{
    if (number < 1 || number > fileSelectorNumber || activeView != ActiveView::DataView)
        return;
    takeSnapshot();
    if (number == fileSelectorNumber) {
        runFileSelector();
        return;
    }
    const char* text = textPredefinitions[number - 1];
    std::string typed;
    for (int i = 0; i < predefinitionTextLimit && static_cast<unsigned char>(text[i]) >= 32; ++i)
        typed.push_back(text[i]);
    typeCharacters(typed);
}
