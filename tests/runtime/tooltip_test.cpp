#include <gtest/gtest.h>

#include <string>

#include "runtime/app_state.h"
#include "runtime/win_helpers.h"
#include "tests/runtime/test_window.h"

namespace {

int ToolCount() {
    return static_cast<int>(SendMessageA(Win.tooltip, TTM_GETTOOLCOUNT, 0, 0));
}

TOOLINFOA ToolFor(HWND control) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

std::string TipOf(HWND control) {
    std::string text(1024, '\0'); // the tooltip copies up to its own limit
    TOOLINFOA info = ToolFor(control);
    info.lpszText = &text[0];
    SendMessageA(Win.tooltip, TTM_GETTEXTA, text.size(), reinterpret_cast<LPARAM>(&info));
    return text.c_str();
}

TEST(SetToolTip, OneSharedWindowAndANewTipReplacesTheOld) {
    TestForm form;
    HWND edit = CreateEdit("", form.get(), 1, 0, 0, 100, 20);
    HWND button = CreateButton("Go", form.get(), 2, 0, 30, 40, 20);

    SetToolTip(edit, "Type a path");
    HWND tooltip = Win.tooltip;
    ASSERT_NE(nullptr, tooltip);
    char cls[64] = "";
    GetClassNameA(tooltip, cls, sizeof cls);
    EXPECT_STREQ("tooltips_class32", cls);
    EXPECT_TRUE(GetWindowLongA(tooltip, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_EQ(form.get(), GetWindow(tooltip, GW_OWNER));
    EXPECT_EQ(1, ToolCount());
    EXPECT_EQ("Type a path", TipOf(edit));

    SetToolTip(edit, "Folder to show");
    EXPECT_EQ(tooltip, Win.tooltip);
    EXPECT_EQ(1, ToolCount());
    EXPECT_EQ("Folder to show", TipOf(edit));

    SetToolTip(button, "Go To Folder");
    EXPECT_EQ(tooltip, Win.tooltip);
    EXPECT_EQ(2, ToolCount());
    EXPECT_EQ("Go To Folder", TipOf(button));
    EXPECT_EQ("Folder to show", TipOf(edit));

    TOOLINFOA info = ToolFor(button);
    ASSERT_TRUE(SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    UINT flags = TTF_IDISHWND | TTF_SUBCLASS;
    EXPECT_EQ(flags, info.uFlags & flags);
    EXPECT_EQ(form.get(), info.hwnd);
}

// The tooltip goes with the window that owned it; the next tip makes a new one.
TEST(SetToolTip, MadeAgainAfterItsOwnerIsGone) {
    HWND old = nullptr;
    {
        TestForm form;
        SetToolTip(CreateEdit("", form.get(), 1, 0, 0, 100, 20), "first");
        old = Win.tooltip;
    }
    ASSERT_FALSE(IsWindow(old));
    TestForm form;
    HWND label = CreateLabel("x", form.get(), 1, 0, 0, 100, 20);
    SetToolTip(label, "Select A Folder To View");
    ASSERT_TRUE(IsWindow(Win.tooltip));
    EXPECT_EQ(form.get(), GetWindow(Win.tooltip, GW_OWNER));
    EXPECT_EQ(1, ToolCount());
    EXPECT_EQ("Select A Folder To View", TipOf(label));
}

} // namespace
