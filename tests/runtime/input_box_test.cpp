#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/win_helpers.h"
#include "tests/runtime/test_window.h"
#include "tests/support/dialog_answerer.h"

namespace {

const int kCancel = 101, kPrompt = 102, kEdit = 103, kOk = 104;

std::string ItemText(HWND dlg, int id) {
    char text[4096] = "";
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

TEST(InputBox, OkReturnsTheTypedText) {
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        SetDlgItemTextA(dlg, kEdit, "New Folder 2");
        EXPECT_TRUE(ClickButton(dlg, kOk));
    });
    EXPECT_EQ("New Folder 2", InputBox("New Folder", "Name of the new folder:", "New Folder"));
    EXPECT_EQ(1, answers.Answered());
}

TEST(InputBox, ShowsTitlePromptAndDefaultWithTheEditFocused) {
    std::string prompt, edit, cancel, ok;
    HWND focus = nullptr, editWnd = nullptr;
    LRESULT defId = 0;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        prompt = ItemText(dlg, kPrompt);
        edit = ItemText(dlg, kEdit);
        cancel = ItemText(dlg, kCancel);
        ok = ItemText(dlg, kOk);
        focus = GetFocus();
        editWnd = GetDlgItem(dlg, kEdit);
        defId = SendMessageA(dlg, DM_GETDEFID, 0, 0);
        ClickButton(dlg, kOk);
    });
    EXPECT_EQ("C:\\Drawings", InputBox("Go To", "Folder:", "C:\\Drawings"));
    EXPECT_EQ("Go To", answers.Seen(0).caption);
    EXPECT_EQ("Folder:", prompt);
    EXPECT_EQ("C:\\Drawings", edit);
    EXPECT_EQ("CANCEL", cancel);
    EXPECT_EQ("OK", ok);
    EXPECT_EQ(editWnd, focus);
    EXPECT_EQ(DC_HASDEFID, HIWORD(defId));
    EXPECT_EQ(kOk, LOWORD(defId));
}

// The items sit where their dialog-unit positions and sizes map to in the
// dialog's font (the dialog manager maps position and size separately).
TEST(InputBox, ItemsHaveTheirLayout) {
    struct Item {
        int id;
        RECT units; // x, y, cx, cy
        RECT actual;
    };
    std::vector<Item> items = {{kCancel, {95, 31, 35, 12}, {}},
                               {kOk, {20, 31, 35, 12}, {}},
                               {kPrompt, {10, 5, 140, 10}, {}},
                               {kEdit, {10, 15, 130, 12}, {}}};
    RECT client = {}, clientUnits = {0, 0, 150, 60};
    DWORD editStyle = 0, editExStyle = 0;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        for (Item& item : items) {
            MapDialogRect(dlg, &item.units);
            HWND wnd = GetDlgItem(dlg, item.id);
            GetWindowRect(wnd, &item.actual);
            MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&item.actual), 2);
        }
        MapDialogRect(dlg, &clientUnits);
        GetClientRect(dlg, &client);
        HWND edit = GetDlgItem(dlg, kEdit);
        editStyle = static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE));
        editExStyle = static_cast<DWORD>(GetWindowLongA(edit, GWL_EXSTYLE));
        ClickButton(dlg, kCancel);
    });
    InputBox("t", "p", "d");
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        EXPECT_EQ(item.units.left, item.actual.left);
        EXPECT_EQ(item.units.top, item.actual.top);
        EXPECT_EQ(item.units.right, item.actual.right - item.actual.left);
        EXPECT_EQ(item.units.bottom, item.actual.bottom - item.actual.top);
    }
    EXPECT_EQ(clientUnits.right, client.right);
    EXPECT_EQ(clientUnits.bottom, client.bottom);
    DWORD bits = WS_TABSTOP | ES_AUTOHSCROLL;
    EXPECT_EQ(bits, editStyle & bits);
    // The dialog manager draws a bordered edit with a sunken edge instead.
    EXPECT_TRUE((editStyle & WS_BORDER) || (editExStyle & WS_EX_CLIENTEDGE));
}

TEST(InputBox, CancelAndCloseReturnEmptyEvenAfterAnEarlierAnswer) {
    DialogAnswerer answers;
    answers.Add([](HWND dlg) { ClickButton(dlg, kOk); });
    answers.Add([](HWND dlg) {
        SetDlgItemTextA(dlg, kEdit, "typed but cancelled");
        ClickButton(dlg, kCancel);
    });
    answers.Add([](HWND dlg) { ClickButton(dlg, kOk); });
    answers.Add([](HWND dlg) { PostMessageA(dlg, WM_CLOSE, 0, 0); });
    EXPECT_EQ("first", InputBox("t", "p", "first"));
    EXPECT_EQ("", InputBox("t", "p", "second"));
    EXPECT_EQ("third", InputBox("t", "p", "third"));
    EXPECT_EQ("", InputBox("t", "p", "fourth"));
    EXPECT_EQ(4, answers.Answered());
}

TEST(InputBox, AnswerIsLimitedTo2047Characters) {
    std::string longText(3000, 'x');
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        SetDlgItemTextA(dlg, kEdit, longText.c_str());
        ClickButton(dlg, kOk);
    });
    EXPECT_EQ(std::string(2047, 'x'), InputBox("t", "p", ""));
}

TEST(InputBox, OwnedByTheActiveWindow) {
    TestForm form;
    ASSERT_TRUE(form.Activate());
    HWND owner = nullptr;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        owner = GetWindow(dlg, GW_OWNER);
        ClickButton(dlg, kCancel);
    });
    InputBox("t", "p", "");
    EXPECT_EQ(form.get(), owner);
}

// An empty template: style, no extended style, no items, a position and size,
// then no menu, the standard class and an empty title.
struct EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

INT_PTR CALLBACK FirstProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}
INT_PTR CALLBACK SecondProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

TEST(ShowModelessDialog, OneOpenInstancePerProcedure) {
    alignas(4) EmptyTemplate tmpl = {{WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
    TestForm form;
    HWND first = ShowModelessDialog(&tmpl.header, form.get(), FirstProc, 0);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(nullptr, ShowModelessDialog(&tmpl.header, form.get(), FirstProc, 0));
    HWND second = ShowModelessDialog(&tmpl.header, form.get(), SecondProc, 0);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);

    DestroyWindow(first);
    HWND again = ShowModelessDialog(&tmpl.header, form.get(), FirstProc, 0);
    EXPECT_NE(nullptr, again);
    EXPECT_EQ(nullptr, ShowModelessDialog(&tmpl.header, form.get(), SecondProc, 0));
    DestroyWindow(again);
    DestroyWindow(second);
}

} // namespace
