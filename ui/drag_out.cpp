// Dragging rows out of the file list: the data is a standard file-drop list,
// so any folder, the desktop or a program that takes dropped files receives it.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "filelist/list_rows.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "ui/drag_drop.h"
#include "ui/drag_objects.h"

static std::vector<std::string> SelectedPaths(HWND list) {
    std::string folder = WithTrailingBackslash(CurrentFolder());
    std::vector<std::string> paths;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                LVNI_SELECTED))) != -1)
        paths.push_back(folder + RowText(list, row, 2));
    return paths;
}

// The shell's drag-image service shows the dragged rows as the list draws
// them; without it the drag shows the plain cursor.
static IDragSourceHelper* StartDragImage(HWND list, IDataObject* data) {
    IDragSourceHelper* helper = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDragSourceHelper, reinterpret_cast<void**>(&helper))))
        return nullptr;
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(list, &at);
    helper->InitializeFromWindow(list, &at, data);
    return helper;
}

void DragSelectionOut(HWND list) {
    if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0) return;
    std::vector<std::string> paths = SelectedPaths(list);

    HRESULT ole = OleInitialize(nullptr);
    IDataObject* data = CreateDragDataObject();
    IDropSource* source = CreateDragDropSource();
    HGLOBAL block = data && source ? MakeFileDropBlock(paths) : nullptr;
    if (block) {
        FORMATETC format = FileDropFormat();
        STGMEDIUM medium = {};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = block;
        if (SUCCEEDED(data->SetData(&format, &medium, TRUE))) {
            IDragSourceHelper* image = StartDragImage(list, data);
            // The receiver decides between copy and move; the list is not
            // rebuilt, even after a move.
            DWORD effect = DROPEFFECT_NONE;
            DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
            if (image) image->Release();
        } else {
            GlobalFree(block);
        }
    }
    if (data) data->Release();
    if (source) source->Release();
    if (SUCCEEDED(ole)) OleUninitialize();
}
