// The "Browse with KVX" folder verb: its command text, the SHELLON and
// SHELLOFF switches of Korvex.exe and the Tools menu's commands, each read
// back from the registry by reg.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "tests/support/pump_until.h"
#include "tests/support/run_program.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/command_line.h"
#include "ui/shell_verb.h"

namespace {

const char kCommandKey[] = "HKCR\\Directory\\shell\\Browse with KVX\\command";
const char kVerbKey[] = "HKCR\\Directory\\shell\\Browse with KVX";

// reg.exe's answer for a key's default value: its exit code and its text.
DWORD RegQuery(const std::string& key, std::string* text = nullptr) {
    return RunProgram("reg.exe query \"" + key + "\" /ve", text);
}

bool VerbKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kBrowseVerbKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string Korvex() {
    return BuiltProgram("Korvex.exe");
}

TEST(BrowseVerb, CommandQuotesTheProgramPath) {
    EXPECT_EQ("\"C:\\Program Files\\Korvex\\Korvex.exe\" %1",
              BrowseVerbCommand("C:\\Program Files\\Korvex\\Korvex.exe"));
}

// The verb may hand the folder over quoted or bare; both give one folder.
TEST(BrowseVerb, QuotedAndBareFoldersAreTheSame) {
    struct Case {
        const char* arguments;
        const char* folder;
    } cases[] = {
        {"\"C:\\My Drawings\\Site Plans\"", "C:\\My Drawings\\Site Plans"},
        {"C:\\My Drawings\\Site Plans", "C:\\My Drawings\\Site Plans"},
        {"\"C:\\\"", "C:\\"},
        {"\"D:\\Work\"  ", "D:\\Work"},
        {"\"", "\""},
        {"\"C:\\Half", "\"C:\\Half"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.folder, UnquotedArguments(c.arguments)) << c.arguments;
    EXPECT_EQ("C:\\My Drawings",
              UnquotedArguments(ArgumentsText("\"C:\\Korvex.exe\" \"C:\\My Drawings\"")));
}

TEST(BrowseVerb, SwitchesWriteAndRemoveTheVerb) {
    ASSERT_EQ(0u, RunProgram("\"" + Korvex() + "\" SHELLON"));
    std::string text;
    ASSERT_EQ(0u, RegQuery(kCommandKey, &text)) << text;
    EXPECT_NE(std::string::npos, text.find("REG_SZ")) << text;
    EXPECT_NE(std::string::npos, text.find(BrowseVerbCommand(Korvex()))) << text;

    // Removing twice is as quiet as removing once.
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(0u, RunProgram("\"" + Korvex() + "\" SHELLOFF"));
        EXPECT_NE(0u, RegQuery(kCommandKey));
        EXPECT_NE(0u, RegQuery(kVerbKey));
    }
}

// A folder whose name holds a switch is a folder to open: the switches count
// only as the whole argument.
TEST(BrowseVerb, SwitchesAreTheWholeArgumentOnly) {
    for (const char* folder : {"C:\\Plans SHELLON\\", "Z:\\SHELLOFF", "D:\\SHELLONLY", "shellon"})
        EXPECT_FALSE(RunShellSwitch(folder)) << folder;
    EXPECT_TRUE(RunShellSwitch(" SHELLOFF "));
    EXPECT_NE(0u, RegQuery(kVerbKey));
}

// Under Wine the system reports NT 6.1, so the commands go through the
// elevated re-launch of the program named by the work paths.
TEST_F(MainWindowTest, ToolsMenuEnablesAndDisablesTheVerb) {
    WorkPaths saved = Paths;
    std::string korvex = Korvex();
    Paths.programFolder = korvex.substr(0, korvex.rfind('\\') + 1);
    Paths.programName = "Korvex.exe";
    RemoveBrowseVerb();

    SendMessageA(Win.main, WM_COMMAND, IDM_SHELL_ON, 0);
    EXPECT_TRUE(PumpUntil(VerbKeyExists));
    std::string text;
    EXPECT_EQ(0u, RegQuery(kCommandKey, &text));
    EXPECT_NE(std::string::npos, text.find(BrowseVerbCommand(korvex))) << text;

    SendMessageA(Win.main, WM_COMMAND, IDM_SHELL_OFF, 0);
    EXPECT_TRUE(PumpUntil([] { return !VerbKeyExists(); }));
    EXPECT_NE(0u, RegQuery(kVerbKey));
    Paths = saved;
}

} // namespace
