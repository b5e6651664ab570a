#include "tests/support/dialog_answerer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/win_helpers.h"

namespace {

DialogAnswerer* Current = nullptr; // the thread's answerer (tests run on one thread)
const UINT_PTR kAnswerTimer = 0x4B56;

std::string ClassOf(HWND wnd) {
    char name[64] = "";
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

BOOL CALLBACK FindStaticText(HWND child, LPARAM out) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") != 0) return TRUE;
    LONG type = GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP) return TRUE;
    std::string text = WindowText(child);
    if (text.empty()) return TRUE;
    *reinterpret_cast<std::string*>(out) = text;
    return FALSE;
}

} // namespace

BOOL CALLBACK DialogAnswerer::KeepExisting(HWND wnd, LPARAM self) {
    if (ClassOf(wnd) == "#32770") reinterpret_cast<DialogAnswerer*>(self)->handled_.push_back(wnd);
    return TRUE;
}

DialogAnswerer::DialogAnswerer() {
    EXPECT_EQ(nullptr, Current) << "only one DialogAnswerer per thread";
    Current = this;
    // A dialog open before the answerer (the search window, a modeless
    // dialog) is no question to answer, however often it is activated.
    EnumThreadWindows(GetCurrentThreadId(), KeepExisting, reinterpret_cast<LPARAM>(this));
    hook_ = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    EXPECT_NE(nullptr, hook_);
}

DialogAnswerer::~DialogAnswerer() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (Current == this) Current = nullptr;
    EXPECT_EQ(0u, answers_.size()) << "answered dialogs that never appeared";
}

void DialogAnswerer::Add(Answer answer) {
    answers_.push_back(std::move(answer));
}

LRESULT CALLBACK DialogAnswerer::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && Current) {
        HWND wnd = reinterpret_cast<HWND>(wParam);
        auto& handled = Current->handled_;
        if (ClassOf(wnd) == "#32770" &&
            std::find(handled.begin(), handled.end(), wnd) == handled.end()) {
            handled.push_back(wnd);
            // Answer once the dialog's own loop runs, not inside its activation.
            SetTimer(wnd, kAnswerTimer, USER_TIMER_MINIMUM, OnTimer);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogAnswerer::OnTimer(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    if (Current) Current->Handle(dialog);
}

void DialogAnswerer::Handle(HWND dialog) {
    if (answers_.empty()) {
        ++unexpected_;
        ADD_FAILURE() << "unexpected dialog \"" << WindowText(dialog)
                      << "\": " << DialogMessageText(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    seen_.push_back({WindowText(dialog), DialogMessageText(dialog)});
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    answer(dialog);
}

bool ClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button || !IsWindowEnabled(button)) return false;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

std::string DialogMessageText(HWND dialog) {
    std::string text;
    EnumChildWindows(dialog, FindStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}
