#include "tests/export/zip_list_fixture.h"

#include <commctrl.h>

#include "export/zip_options.h"
#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"

void ZipListTest::SetUp() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    form = CreateWindowExA(0, "STATIC", "Files", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                           300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(form);
    SetActiveWindow(form);
    ASSERT_EQ(form, GetActiveWindow());
    Win.list = CreateControl("SysListView32", "", form, ID_FILE_LIST, 0, 0, 380, 250,
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS);
    for (int column = 0; column < 3; ++column)
        InsertColumn(Win.list, column, "", LVCFMT_LEFT, 100);
    SetCurrentDirectoryA(folder.path().c_str());
    SetCurrentFolder(folder.path());
}

void ZipListTest::TearDown() {
    SetCurrentDirectoryA(TempFolder().c_str()); // the scratch folder can then go
    DestroyWindow(form);
    Win.list = nullptr;
}

void ZipListTest::List(const std::vector<std::string>& names, bool writeFiles) {
    for (const std::string& name : names) {
        if (writeFiles) {
            ASSERT_TRUE(WriteBytes(folder.file(name), "AC1018 " + name));
        }
        // Each row its own parameter, as the listing gives them: the texts
        // kept beside the list are found by it.
        static LPARAM lastParam = 0;
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.lParam = ++lastParam;
        item.iItem = RowCount(Win.list);
        SendMessageA(Win.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetRowText(item.iItem, 2, name);
    }
}

void ZipListTest::Select(const std::vector<int>& rows) {
    for (int row : rows) {
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageA(Win.list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

void ZipListTest::OpenZipOptions(DialogAnswerer::Answer answer,
                                 const std::vector<DialogAnswerer::Answer>& later) {
    answers.Add(answer);
    for (const DialogAnswerer::Answer& next : later)
        answers.Add(next);
    ShowZipOptionsDialog();
}

void ZipListTest::CreateZip(HWND dialog, const std::string& fileName) {
    SetWindowTextA(ZipOptionsItem(ID_ZIP_NAME), fileName.c_str());
    ClickButton(dialog, ID_ZIP_CREATE);
}

DialogAnswerer::Answer Press(int button) {
    return [button](HWND box) { ClickButton(box, button); };
}

std::string ZipItemText(int id) {
    return WindowText(ZipOptionsItem(id));
}

bool ZipItemChecked(int id) {
    return SendMessageA(ZipOptionsItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
