// Dragging rows out of the file list: the data is a standard file-drop list,
// so any folder, the desktop or a program that takes dropped files receives it.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "filelist/file_list_build.h"
#include "filemanager/file_operations.h"
#include "runtime/long_paths.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "filemanager/drag_drop.h"
#include "filemanager/drag_objects.h"

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
    // Exactly the selected files, whole: a row whose name cannot be handed
    // over as it is (a wildcard to the receiver) is left out.
    std::vector<std::string> paths = SelectedFiles(SelectedRows(list));
    if (paths.empty()) return;

    bool moved = false;
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
            // The receiver decides between copy and move, and may move the
            // files itself while reporting no effect: the list is rebuilt
            // when a dragged file has left the folder.
            DWORD effect = DROPEFFECT_NONE;
            HRESULT dropped = DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
            if (image) image->Release();
            if (dropped == DRAGDROP_S_DROP)
                for (const std::string& path : paths)
                    if (FileAttributesOf(path) == INVALID_FILE_ATTRIBUTES) {
                        moved = true;
                        break;
                    }
        } else {
            GlobalFree(block);
        }
    }
    if (data) data->Release();
    if (source) source->Release();
    if (SUCCEEDED(ole)) OleUninitialize();
    if (moved) BuildFileList();
}
