#include <gtest/gtest.h>

#include <string>

#include "runtime/handles.h"
#include "runtime/win_helpers.h"
#include "tests/runtime/test_window.h"
#include "tests/support/dialog_answerer.h"

namespace {

TEST(MakeFont, HeightFollowsThePointSizeAndTheScreenResolution) {
    GdiObject<HFONT> font(MakeFont("Arial", 12, true, true, true, true));
    ASSERT_NE(nullptr, font.get());
    LOGFONTA lf = {};
    ASSERT_EQ(static_cast<int>(sizeof lf), GetObjectA(font.get(), sizeof lf, &lf));
    WindowDC screen;
    EXPECT_EQ(-MulDiv(12, GetDeviceCaps(screen.get(), LOGPIXELSY), 72), lf.lfHeight);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_TRUE(lf.lfStrikeOut);
    EXPECT_STREQ("Arial", lf.lfFaceName);

    GdiObject<HFONT> plain(MakeFont("Tahoma", 8));
    GetObjectA(plain.get(), sizeof lf, &lf);
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
}

TEST(TextExtent, MeasuresInTheWindowsOwnFont) {
    TestForm form;
    GdiObject<HFONT> small(MakeFont("Arial", 8)), large(MakeFont("Arial", 24));
    HWND label = CreateLabel("", form.get(), 1, 0, 0, 100, 20);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(small.get()), FALSE);
    SIZE a = TextExtent(label, "Filtered DWG Files");
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(large.get()), FALSE);
    SIZE b = TextExtent(label, "Filtered DWG Files");
    EXPECT_GT(a.cx, 0);
    EXPECT_GT(b.cx, a.cx * 2);
    EXPECT_GT(b.cy, a.cy);
    EXPECT_EQ(0, TextExtent(label, "").cx);
    DestroyWindow(form.get());
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(CenterWindow, WithoutReferenceCentresOnTheWorkArea) {
    TestForm form(0, 0, 300, 200);
    CenterWindow(form.get());
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    POINT want = Centre(area), got = Centre(WindowRect(form.get()));
    EXPECT_NEAR(want.x, got.x, 1);
    EXPECT_NEAR(want.y, got.y, 1);
}

TEST(CenterWindow, CentresOverOneWindowOrTheSpanOfTwo) {
    TestForm dialog(0, 0, 100, 80), a(100, 100, 200, 150), b(500, 300, 200, 150);
    CenterWindow(dialog.get(), a.get());
    POINT want = Centre(WindowRect(a.get())), got = Centre(WindowRect(dialog.get()));
    EXPECT_NEAR(want.x, got.x, 1);
    EXPECT_NEAR(want.y, got.y, 1);

    CenterWindow(dialog.get(), a.get(), b.get());
    RECT span;
    RECT ra = WindowRect(a.get()), rb = WindowRect(b.get());
    UnionRect(&span, &ra, &rb);
    want = Centre(span);
    got = Centre(WindowRect(dialog.get()));
    EXPECT_NEAR(want.x, got.x, 1);
    EXPECT_NEAR(want.y, got.y, 1);
}

TEST(CenterWindow, KeepsTheWindowOnTheScreen) {
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    TestForm dialog(0, 0, 400, 300), corner(screenW - 100, screenH - 60, 150, 100),
        before(-500, -400, 200, 150);

    CenterWindow(dialog.get(), corner.get());
    RECT r = WindowRect(dialog.get());
    EXPECT_EQ(screenW, r.right);
    EXPECT_EQ(screenH, r.bottom);

    CenterWindow(dialog.get(), before.get());
    r = WindowRect(dialog.get());
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(400 + 4, r.right - r.left); // size untouched
}

int Received = 0;
LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP + 7) ++Received;
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

TEST(PumpMessages, DispatchesEveryPendingMessageAndKeepsTheQuitRequest) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KvxPumpTest";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(0, "KvxPumpTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(nullptr, wnd);
    PumpMessages();
    Received = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(wnd, WM_APP + 7, 0, 0);
    PostQuitMessage(7);
    PumpMessages();
    EXPECT_EQ(3, Received);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(7u, msg.wParam);
    DestroyWindow(wnd);
}

TEST(ShowMessage, AsksOnTheActiveWindowAndReturnsTheButton) {
    TestForm form;
    ASSERT_TRUE(form.Activate());
    HWND owner = nullptr;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        owner = GetWindow(dlg, GW_OWNER);
        EXPECT_TRUE(ClickButton(dlg, IDNO));
    });
    EXPECT_EQ(IDNO, ShowMessage("Delete the files?", "Error!", MB_YESNO | MB_ICONQUESTION));
    ASSERT_EQ(1, answers.Answered());
    EXPECT_EQ("Error!", answers.Seen(0).caption);
    EXPECT_EQ("Delete the files?", answers.Seen(0).text);
    EXPECT_EQ(form.get(), owner);
}

} // namespace
