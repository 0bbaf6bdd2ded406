// The in-process GUI tests: the real program is started once in this
// process, beside a test calendar window, and the tests drive its windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "gui/gui_environment.h"
#include "gui/gui_support.h"
#include "shell/app.h"
#include "shell/startup.h"

namespace {

std::filesystem::path programDirectory;

class LumoEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        programDirectory = std::filesystem::path(temp) / ("lumo-gui-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::remove_all(programDirectory);
        std::filesystem::create_directories(programDirectory);

        createTestCalendar();
        watchDialogs();
        std::string commandLine = "\"" + (programDirectory / "ORDANE-Lumo.exe").string() + "\" ignored";
        ASSERT_TRUE(startLumo(GetModuleHandleA(nullptr), commandLine.c_str(), SW_SHOWNORMAL));
        pumpPending();
    }

    void TearDown() override
    {
        finishLumo();
        if (mainWindow)
            DestroyWindow(mainWindow);
        pumpPending();
        destroyTestCalendar();
        std::error_code ignored;
        std::filesystem::remove_all(programDirectory, ignored);
    }
};

}  // namespace

std::string testProgramDirectory()
{
    return programDirectory.string();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LumoEnvironment);
    return RUN_ALL_TESTS();
}
