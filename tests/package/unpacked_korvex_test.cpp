// The download as a Windows user gets it: tests/package/unpack_and_run
// unpacks the zip into a folder with a space in its name, in a Wine prefix
// of its own, and runs this program there with KORVEX_UNPACKED_EXE naming the
// unpacked Korvex.exe. It starts that program on a folder of drawings, as a
// user does, and reads back what its list shows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

namespace {

// A row's text in one column of a list in another process: the item and its
// text go through memory of that process, where the list writes.
std::string RemoteItemText(HANDLE process, HWND list, int row, int column) {
    const int textSize = 1024;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + textSize,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote) return "<no memory>";
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = textSize;
    item.pszText = remote + sizeof(LVITEMA);
    std::string text(textSize, '\0');
    if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote)) >= 0)
        ReadProcessMemory(process, item.pszText, &text[0], textSize, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    text[textSize - 1] = '\0';
    return text.c_str();
}

// The main window of the process, or null.
HWND MainWindowOf(DWORD processId) {
    HWND main = nullptr;
    while ((main = FindWindowExA(nullptr, main, "KVX", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(main, &owner);
        if (owner == processId) return main;
    }
    return nullptr;
}

TEST(UnpackedKorvex, ListsAFolderOfDrawingsAndSavesItsSettingsOnClose) {
    const char* unpacked = std::getenv("KORVEX_UNPACKED_EXE");
    ASSERT_TRUE(unpacked && *unpacked)
        << "run through tests/package/unpack_and_run, which sets KORVEX_UNPACKED_EXE";
    std::string exe = unpacked;
    ASSERT_NE(std::string::npos, exe.find(' ')) << "the folder should have a space: " << exe;
    ASSERT_TRUE(PathExists(exe)) << exe;

    ScratchFolder drawings;
    const struct {
        const char* name;
        const char* signature;
        const char* release;
    } files[] = {{"site plan.dwg", "AC1015", "2000"},
                 {"floor 2.dwg", "AC1018", "2004"},
                 {"old detail.dwg", "AC1014", "14"}};
    for (const auto& f : files)
        ASSERT_TRUE(WriteBytes(drawings.file(f.name), MakeDrawingWithoutImages(f.signature)));
    ASSERT_TRUE(WriteBytes(drawings.file("notes.txt"), "not a drawing"));

    std::string line = "\"" + exe + "\" " + Unslashed(drawings.path());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));

    HWND main = nullptr, list = nullptr;
    const int rows = sizeof files / sizeof *files;
    bool listed = PumpUntil([&] {
        main = MainWindowOf(process.dwProcessId);
        list = main ? GetDlgItem(main, ID_FILE_LIST) : nullptr;
        return list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rows;
    });
    EXPECT_TRUE(listed);
    if (listed) {
        std::vector<std::string> shown, expected;
        for (int row = 0; row < rows; ++row)
            shown.push_back(RemoteItemText(process.hProcess, list, row, 2) + " | " +
                            RemoteItemText(process.hProcess, list, row, 3));
        for (const auto& f : files)
            expected.push_back(std::string(f.name) + " | " + f.release);
        std::sort(shown.begin(), shown.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, shown);
    }

    // Closed as the user closes it: it ends by itself and has saved the
    // folder it showed.
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(process.hProcess, 20000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited);
    EXPECT_EQ(0u, code);
    // A new user's first start keeps the file in the temporary folder.
    std::string ini = ReadBytes(TempFolder() + "KVX.ini");
    EXPECT_NE(std::string::npos, ini.find("\r\nPath=" + drawings.path() + "\r\n")) << ini;
}

} // namespace
