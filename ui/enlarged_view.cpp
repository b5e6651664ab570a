#include "ui/enlarged_view.h"

#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"

namespace {

// One enlarged view is open at a time: the dialog is modal.
struct EnlargedView {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    bool ready = false;
} View;

} // namespace

static void OnInit(HWND dlg) {
    View = EnlargedView();
    if (!PathExists(Paths.previewBitmap)) {
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        return;
    }
    HBITMAP bitmap = LoadPreviewBitmap(Paths.previewBitmap);
    if (!bitmap) {
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        return;
    }
    SetWindowTextA(dlg, "Enlarged View");
    if (BlackBackground) {
        HBITMAP adapted = AdaptPreviewColours(bitmap);
        if (adapted != bitmap) DeleteObject(bitmap);
        bitmap = adapted;
    }
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    View.width = 3 * info.bmWidth;
    View.height = 3 * info.bmHeight;
    HBITMAP scaled = ScaleBitmap(bitmap, View.width, View.height, LR_COPYDELETEORG);
    if (!scaled) DeleteObject(bitmap); // a failed copy leaves the original
    View.bitmap = scaled;
    SetWindowPos(dlg, nullptr, 0, 0, View.width + 4, View.height + GetSystemMetrics(SM_CYSIZE) + 7,
                 SWP_NOZORDER | SWP_NOREDRAW);
    CenterWindow(dlg, Win.main);
    View.ready = true;
}

static void OnPaint(HWND dlg) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dlg, &paint);
    if (View.ready && View.bitmap) {
        MemoryDC memory(dc);
        memory.select(View.bitmap);
        BitBlt(dc, 0, 0, View.width, View.height, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(dlg, &paint);
}

static void OnClose(HWND dlg) {
    if (View.bitmap) DeleteObject(View.bitmap);
    View = EnlargedView();
    EndDialog(dlg, 0);
}

static INT_PTR CALLBACK EnlargedViewProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: OnInit(dlg); return TRUE;
    case WM_PAINT: OnPaint(dlg); return TRUE;
    case WM_KEYUP:
        if (wParam == VK_ESCAPE) SendMessageA(dlg, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_LBUTTONUP: SendMessageA(dlg, WM_CLOSE, 0, 0); return TRUE;
    case WM_COMMAND:
        // Esc reaches an empty dialog as its cancel command.
        if (LOWORD(wParam) == IDCANCEL) SendMessageA(dlg, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_CLOSE: OnClose(dlg); return TRUE;
    }
    return FALSE;
}

void ShowEnlargedView(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ENLARGED_VIEW), owner,
                    EnlargedViewProc, 0);
}
