// The real program, driven from another process as a user drives it: a
// drawing dragged onto its list from another folder and moved onto a file of
// the same name is asked about, and while nobody answers both files stay.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/mouse.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_command.h"

namespace {

// Korvex.exe of the build, started on a folder and ended with the test.
class RunningKorvex {
  public:
    explicit RunningKorvex(const std::string& folder) {
        std::string exe = ExeFolder() + "..\\Korvex.exe";
        std::string line = "\"" + exe + "\" " + folder;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
    }
    ~RunningKorvex() {
        if (!started_) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    // The program's window once it lists `rows` rows, or null.
    HWND ListWithRows(int rows) const {
        HWND list = nullptr;
        PumpUntil([&] {
            HWND main = nullptr;
            while ((main = FindWindowExA(nullptr, main, "KVX", nullptr)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(main, &owner);
                if (owner == process_.dwProcessId) break;
            }
            list = main ? GetDlgItem(main, ID_FILE_LIST) : nullptr;
            return list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rows;
        });
        return list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rows ? list : nullptr;
    }
    bool started() const { return started_; }

  private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

TEST(OutsideDrop, AMoveOntoATakenNameLeavesBothFilesWhileUnanswered) {
    ScratchFolder listed, other;
    std::string name = "with space " + std::to_string(GetTickCount()) + ".dwg";
    ASSERT_TRUE(WriteBytes(listed.file(name), MakeDrawingWithoutImages("AC1015") + "old"));
    ASSERT_TRUE(WriteBytes(other.file(name), MakeDrawingWithoutImages("AC1015") + "new"));
    RunningKorvex korvex(Unslashed(listed.path()));
    ASSERT_TRUE(korvex.started());
    HWND list = korvex.ListWithRows(1);
    ASSERT_NE(nullptr, list);

    // Dropped from the desktop's side, as a Linux file manager drops.
    RECT rect;
    GetWindowRect(list, &rect);
    UnixRun drop = RunUnixCommand("python3 " + ShellQuote(KORVEX_XDND_DROP) + " " +
                                      std::to_string((rect.left + rect.right) / 2) + " " +
                                      std::to_string((rect.top + rect.bottom) / 2) + " " +
                                      ShellQuote(UnixPath(other.file(name))),
                                  30000);
    ASSERT_EQ(0, drop.status) << drop.output;

    // "&Move To" of the drop menu, then the question, left unanswered.
    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr; }));
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageA(menu, WM_KEYDOWN, key, 0);
    HWND question = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (question = FindWindowA("#32770", "Move Files")) != nullptr; }));
    EXPECT_EQ(MakeDrawingWithoutImages("AC1015") + "old", ReadBytes(listed.file(name)));
    EXPECT_EQ(MakeDrawingWithoutImages("AC1015") + "new", ReadBytes(other.file(name)));
}

} // namespace
