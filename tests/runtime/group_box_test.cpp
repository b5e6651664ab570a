#include <gtest/gtest.h>

#include "runtime/group_box.h"
#include "tests/runtime/test_window.h"

static int g_commandsSeen = 0;
static WPARAM g_lastCommand = 0;

static LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        ++g_commandsSeen;
        g_lastCommand = wParam;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

TEST(GroupBox, ButtonsInsideReachTheDialogAndTheSubclassEndsWithTheBox) {
    TestForm form;
    SetWindowLongPtrA(form.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    HWND box = CreateGroupBox("Options", form.get(), 226, 5, 5, 200, 100);
    HWND button = CreateButton("...", box, 231, 10, 20, 30, 20);
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(box, GWLP_WNDPROC));

    g_commandsSeen = 0;
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(0, g_commandsSeen) << "without the subclass the box swallows its buttons";

    SubclassGroupBox(box);
    EXPECT_EQ(reinterpret_cast<HANDLE>(original), GetPropA(box, "GRPCB"));
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(1, g_commandsSeen);
    EXPECT_EQ(MAKEWPARAM(231, BN_CLICKED), g_lastCommand);

    DestroyWindow(box);
    EXPECT_FALSE(IsWindow(box));
}
