// Folders deeper than the shell's buffers, names Windows treats specially and
// drops read in another code page: started in, gone to, opened, acted on or
// refused with the reason, never a crash.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "filemanager/drag_objects.h"
#include "filemanager/file_operations.h"
#include "filemanager/file_transfer.h"
#include "filemanager/list_context_menu.h"
#include "runtime/app_state.h"
#include "runtime/file_facts.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/long_paths.h"
#include "runtime/shell_open.h"
#include "settings/settings_file.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "tests/support/run_program.h"
#include "tests/support/scratch_folder.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/main_window.h"

namespace {

// A folder below base whose path, trailing backslash included, is at least
// length characters, made of folders of 60 characters.
std::string DeepFolder(const std::string& base, size_t length) {
    std::string folder = WithTrailingBackslash(base);
    CreateDirectoryW(LongPathForm(folder).c_str(), nullptr);
    while (folder.size() < length) {
        folder += std::string(60, 'd') + "\\";
        if (!CreateDirectoryW(LongPathForm(folder).c_str(), nullptr)) return "";
    }
    return folder;
}

int Rows() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
}

TEST(DeepFolderStart, ASavedPathOfElevenHundredCharactersStartsAndIsListed) {
    ScratchFolder home;
    std::string deep = DeepFolder(home.file("deep"), 1100);
    ASSERT_FALSE(deep.empty());
    ASSERT_TRUE(WriteBytes(deep + "plan.dwg", "AC1015"));
    std::string program = home.file("program\\"), temp = home.file("temp\\");
    CreateDirectoryA(program.c_str(), nullptr);
    CreateDirectoryA(temp.c_str(), nullptr);
    PrepareSettingsFile(program, "Korvex.exe", temp);
    WritePrivateProfileStringA("MAIN", "Path", deep.c_str(), Paths.settingsFile.c_str());
    ASSERT_TRUE(CreateMainWindow());
    EXPECT_TRUE(PumpUntil([] { return TreeReady && !ListingActive && Rows() == 1; }));
    EXPECT_EQ(deep, WithTrailingBackslash(CurrentFolder()));
    CloseMainWindow();
    EXPECT_EQ(deep, ReadMainText("Path"));
}

class DeepFolderTest : public MainWindowTest {
  protected:
    ScratchFolder root, target;

    // Waits for the listing of folder that the command started.
    static void ExpectListed(const std::string& folder, const char* how) {
        EXPECT_TRUE(PumpUntil([&] {
            return !ListingActive && Rows() == 1 &&
                   WithTrailingBackslash(CurrentFolder()) == folder &&
                   StatusText(0).find("Total Object(s) Found") != std::string::npos;
        })) << how
            << " " << folder.size();
    }
};

TEST_F(DeepFolderTest, GoFavoritesAndEnterReachDrawingsOfDeepFolders) {
    for (size_t length : {300u, 650u, 1100u}) {
        std::string deep = DeepFolder(root.file(std::to_string(length)), length);
        ASSERT_FALSE(deep.empty());
        ASSERT_TRUE(WriteBytes(deep + "plan.dwg", "AC1015"));

        ListFolder(Unslashed(root.path()));
        SetWindowTextA(Win.pathBox, deep.c_str());
        SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Win.go));
        ExpectListed(deep, "Go");

        ScratchFolder opened;
        {
            OpenRecorder recorder(opened.path());
            Select({0});
            KeyDown(VK_RETURN);
            EXPECT_TRUE(PumpUntil([&] { return PathExists(opened.file("plan.dwg")); })) << length;
        }

        ListFolder(Unslashed(root.path()));
        Settings.favorites[1] = deep;
        SendMessageA(Win.main, WM_COMMAND, IDM_FAVORITE_FIRST, 0);
        ExpectListed(deep, "Favorite");
        Settings.favorites[1].clear();
    }
}

// A blank at the start is part of a name Windows allows: the file is opened,
// copied, moved and deleted as itself.
TEST_F(DeepFolderTest, ANameWithALeadingBlankIsActedOn) {
    const std::string name = " lead.dwg";
    ASSERT_TRUE(WriteBytes(root.file(name), "AC1015 lead"));
    for (int n = 1; n <= 5; ++n)
        Settings.showCopyTo[n] = Settings.showMoveTo[n] = "FALSE";
    Settings.copyTo[1] = Settings.moveTo[1] = target.path();
    Settings.showCopyTo[1] = Settings.showMoveTo[1] = "TRUE";
    ListFolder(Unslashed(root.path()));
    ASSERT_EQ(std::vector<std::string>{name}, Column(2));

    ScratchFolder opened;
    {
        OpenRecorder recorder(opened.path());
        Select({0});
        KeyDown(VK_RETURN);
        EXPECT_TRUE(PumpUntil([&] { return PathExists(opened.file(name)); }));
    }
    Select({0});
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    EXPECT_EQ("AC1015 lead", ReadBytes(target.file(name)));
    ASSERT_TRUE(DeleteFileA(target.file(name).c_str()));
    Select({0});
    RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(0));
    EXPECT_EQ("AC1015 lead", ReadBytes(target.file(name)));
    EXPECT_FALSE(PathExists(root.file(name)));

    ListFolder(Unslashed(target.path()));
    DialogAnswerer answers;
    answers.Add([](HWND dlg) { ClickButton(dlg, IDYES); }); // the shell's confirmation
    Select({0});
    RunListCommand(IDM_LIST_DELETE, RowPoint(0));
    EXPECT_FALSE(PathExists(target.file(name)));
}

// New folder names Windows would read otherwise are refused with the reason,
// and a name too long for a kept copy, or a folder copied into itself, says
// why it could not be done.
TEST_F(DeepFolderTest, WhatCannotBeDoneSaysWhy) {
    ListFolder(Unslashed(root.path()));
    struct {
        const char* typed;
        const char* message;
    } folders[] = {
        {"b..", "Can't Create Directory!\r\n\"b..\" ends in a dot or a space, which Windows drops "
                "from names."},
        {"CON", "Can't Create Directory!\r\n\"CON\" is a name Windows keeps for a device."},
    };
    for (const auto& f : folders) {
        DialogAnswerer answers;
        std::string typed = f.typed;
        answers.Add([typed](HWND dlg) { // the input box: its edit 103, its OK 104
            SetDlgItemTextA(dlg, 103, typed.c_str());
            ClickButton(dlg, 104);
        });
        answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
        EXPECT_EQ("", CreateFolder(false));
        EXPECT_EQ(f.message, answers.Seen(1).text);
    }

    // Keep Both on a name of 255 bytes: the numbered name cannot be made.
    std::string longName = std::string(251, 'k') + ".dwg";
    ASSERT_TRUE(WriteBytes(root.file(longName), "new"));
    ASSERT_TRUE(WriteBytes(target.file(longName), "old"));
    {
        DialogAnswerer answers;
        answers.Add([](HWND dlg) { ClickButton(dlg, ID_TAKEN_KEEP_BOTH); });
        answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
        EXPECT_FALSE(TransferFilesToFolder(Win.main, false, {root.file(longName)}, target.path()));
        EXPECT_NE(std::string::npos, answers.Seen(1).text.find("The name is too long."))
            << answers.Seen(1).text;
        EXPECT_EQ("old", ReadBytes(target.file(longName)));
    }

    // A folder copied into a folder inside itself.
    std::string inner = root.file("A\\sub\\");
    ASSERT_TRUE(CreateDirectoryA(root.file("A").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    {
        DialogAnswerer answers;
        answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
        EXPECT_FALSE(TransferFilesToFolder(Win.main, false, {root.file("A")}, inner));
        EXPECT_NE(std::string::npos,
                  answers.Seen(0).text.find("cannot go into a folder inside itself"));
        EXPECT_FALSE(PathExists(inner + "A"));
    }

    // A message about a path of a thousand characters fits on the screen.
    {
        RECT box = {};
        DialogAnswerer answers;
        answers.Add([&](HWND dlg) {
            GetWindowRect(dlg, &box);
            ClickButton(dlg, IDOK);
        });
        ShowMessage("Invalid Directory: C:\\" + std::string(1000, 'x'), "Error", MB_OK);
        EXPECT_LE(box.right - box.left, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_GT(box.right, box.left);
    }
}

// A read-only drawing moved to another file system leaves its folder and
// arrives read-only.
TEST(DeepFolderMoves, AReadOnlyDrawingMovesToAnotherFileSystem) {
    ScratchFolder from;
    std::string other = "Z:\\dev\\shm\\korvex-move-" + std::to_string(GetTickCount()) + "\\";
    if (!CreateDirectoryA(other.c_str(), nullptr)) GTEST_SKIP() << "no second file system";
    std::string source = from.file("locked.dwg");
    ASSERT_TRUE(WriteBytes(source, "AC1015 ro"));
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(TransferFilesToFolder(nullptr, true, {source}, other));
    EXPECT_FALSE(PathExists(source));
    EXPECT_EQ("AC1015 ro", ReadBytes(other + "locked.dwg"));
    EXPECT_TRUE(GetFileAttributesA((other + "locked.dwg").c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((other + "locked.dwg").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(other);
}

// A drop target in the system's code page reads the names of the drag as
// they are, whatever their script; one in UTF-8 (this process) as well.
TEST(DeepFolderDrops, NamesInEveryScriptAreReadInAnyCodePage) {
    std::vector<std::string> names = {"C:\\Caf\xC3\xA9.dwg",                          // Café
                                      "C:\\\xE5\xB9\xB3\xE9\x9D\xA2\xE5\x9B\xBE.dwg", // 平面图
                                      "C:\\\xD0\xBF\xD0\xBB\xD0\xB0\xD0\xBD.dwg",     // план
                                      "C:\\plain.dwg"};
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_TRUE(SetClipboardData(CF_HDROP, MakeFileDropBlock(names)));
    CloseClipboard();

    ScratchFolder out;
    std::string reader = ExeFolder() + "codepage_reader.exe";
    EXPECT_EQ(0u, RunProgram("\"" + reader + "\" \"" + out.file("names.txt") + "\""));
    std::string expected;
    for (const std::string& name : names)
        expected += name + "\n";
    std::string read = ReadBytes(out.file("names.txt"));
    EXPECT_NE(0u, read.find("65001\n")) << read; // the reader is in another code page
    EXPECT_EQ(expected, read.substr(read.find('\n') + 1));

    ASSERT_TRUE(OpenClipboard(nullptr));
    HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    std::vector<std::string> here;
    for (UINT i = 0; drop && i < DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0); ++i) {
        std::string name(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        name.resize(DragQueryFileA(drop, i, &name[0], static_cast<UINT>(name.size())));
        here.push_back(name);
    }
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(names, here);
}

TEST(DeepFolderOpen, TheAssociatedCommandTakesThePath) {
    EXPECT_EQ(L"\"C:\\p.exe\" /o \"Z:\\a b.dwg\" ",
              CommandForPath(L"\"C:\\p.exe\" /o \"%1\" %*", L"Z:\\a b.dwg"));
    EXPECT_EQ(L"p.exe Z:\\x.dwg 100%", CommandForPath(L"p.exe %L 100%", L"Z:\\x.dwg"));
}

} // namespace
