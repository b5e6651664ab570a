// The shared tooltip: one tooltip window serves every control of the program.
#include "runtime/win_helpers.h"

#include <commctrl.h>

#include "runtime/app_state.h"

// Created on first use, owned by the first control's parent; made again if
// that owner has gone and taken the tooltip with it.
static HWND SharedToolTip(HWND owner) {
    if (!Win.tooltip || !IsWindow(Win.tooltip))
        Win.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    return Win.tooltip;
}

void SetToolTip(HWND control, const std::string& tip, bool relayed) {
    HWND owner = GetParent(control);
    HWND tooltip = SharedToolTip(owner);
    if (!tooltip) return;

    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | (relayed ? 0 : TTF_SUBCLASS);
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);

    // The query gets no text buffer, so it only answers whether the tool exists.
    TOOLINFOA existing = info;
    if (SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing)))
        SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));

    info.lpszText = const_cast<char*>(tip.c_str());
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void RelayToolTipEvent(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Win.tooltip || msg < WM_MOUSEFIRST || msg > WM_MOUSELAST) return;
    MSG message = {};
    message.hwnd = control;
    message.message = msg;
    message.wParam = wParam;
    message.lParam = lParam;
    SendMessageA(Win.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
