#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/runtime/test_window.h"

namespace {

std::string ClassName(HWND wnd) {
    char name[64] = "";
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

DWORD Style(HWND wnd) {
    return static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE));
}
DWORD ExStyle(HWND wnd) {
    return static_cast<DWORD>(GetWindowLongA(wnd, GWL_EXSTYLE));
}
HFONT FontOf(HWND wnd) {
    return reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
}
HFONT StockFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The styles each window was created with, before the control adjusts them
// itself: list and combo boxes drop a scroll bar they do not need yet, combo
// boxes and progress bars trade the client edge for an edge of their own.
class CreationStyles {
  public:
    CreationStyles() {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~CreationStyles() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    CreationStyles(const CreationStyles&) = delete;
    CreationStyles& operator=(const CreationStyles&) = delete;
    DWORD Style(HWND wnd) const { return Find(wnd).first; }
    DWORD ExStyle(HWND wnd) const { return Find(wnd).second; }

  private:
    std::pair<DWORD, DWORD> Find(HWND wnd) const {
        auto it = styles_.find(wnd);
        return it == styles_.end() ? std::make_pair(0ul, 0ul) : it->second;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && current_) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            current_->styles_[reinterpret_cast<HWND>(wParam)] = {static_cast<DWORD>(cs->style),
                                                                 cs->dwExStyle};
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static CreationStyles* current_;
    HHOOK hook_;
    std::map<HWND, std::pair<DWORD, DWORD>> styles_;
};
CreationStyles* CreationStyles::current_ = nullptr;

struct Expected {
    const char* what;
    HWND wnd;
    const char* className;
    DWORD bits;     // style bits that must be set
    DWORD typeMask; // the control's type field, compared exactly
    DWORD type;
};

// Every creator with its defaults: style 0, extended style 0.
std::vector<Expected> CreateAll(HWND parent) {
    static const int edges[] = {100, 200, -1};
    const DWORD base = WS_CHILD | WS_VISIBLE;
    return {
        {"button", CreateButton("Go", parent, 201, 0, 0, 60, 20), "Button",
         base | WS_TABSTOP | BS_MULTILINE, BS_TYPEMASK, BS_PUSHBUTTON},
        {"edit", CreateEdit("x", parent, 202, 0, 30, 60, 20), "Edit",
         base | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0},
        {"label", CreateLabel("Name", parent, 203, 0, 60, 60, 20), "Static", base | SS_NOTIFY,
         SS_TYPEMASK, SS_LEFT},
        {"group box", CreateGroupBox("Group", parent, 204, 0, 90, 60, 40), "Button", base,
         BS_TYPEMASK, BS_GROUPBOX},
        {"check box", CreateCheckBox("Check", parent, 205, 70, 0, 60, 20), "Button",
         base | WS_TABSTOP, BS_TYPEMASK, BS_AUTOCHECKBOX},
        {"radio button", CreateRadioButton("Radio", parent, 206, 70, 30, 60, 20), "Button",
         base | WS_TABSTOP, BS_TYPEMASK, BS_AUTORADIOBUTTON},
        {"combo box", CreateComboBox("", parent, 207, 70, 60, 80, 100), "ComboBox",
         base | WS_VSCROLL | WS_TABSTOP | CBS_SORT, 3, CBS_DROPDOWN},
        {"list box", CreateListBox("", parent, 208, 160, 0, 80, 100), "ListBox",
         base | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT, 0, 0},
        {"any class", CreateControl(WC_LISTVIEWA, "", parent, 209, 160, 110, 80, 80),
         "SysListView32", base | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0},
        {"progress bar", CreateProgressBar(parent, 210, 0, 140, 100, 16), "msctls_progress32", base,
         0, 0},
        {"status bar", CreateStatusBar(parent, 211, 3, edges), "msctls_statusbar32",
         base | CCS_NOHILITE, 0, 0},
    };
}

TEST(ControlCreators, MakeTheirClassesWithTheDefaultStylesAndIds) {
    TestForm form;
    ASSERT_NE(nullptr, form.get());
    CreationStyles created;
    int id = 201;
    for (const Expected& e : CreateAll(form.get())) {
        SCOPED_TRACE(e.what);
        ASSERT_NE(nullptr, e.wnd);
        EXPECT_STRCASEEQ(e.className, ClassName(e.wnd).c_str());
        EXPECT_EQ(e.bits, created.Style(e.wnd) & e.bits);
        EXPECT_EQ(e.type, created.Style(e.wnd) & e.typeMask);
        EXPECT_EQ(e.type, Style(e.wnd) & e.typeMask);
        // The scroll bar bit comes and goes with the need for one.
        EXPECT_EQ(e.bits & ~WS_VSCROLL, Style(e.wnd) & e.bits & ~WS_VSCROLL);
        EXPECT_EQ(form.get(), GetParent(e.wnd));
        EXPECT_EQ(id++, GetDlgCtrlID(e.wnd));
        EXPECT_EQ(StockFont(), FontOf(e.wnd));
    }
}

TEST(ControlCreators, GiveEveryControlTheDefaultControlFontWhenSet) {
    TestForm form;
    HFONT font = MakeFont("Arial", 14, true);
    ASSERT_NE(nullptr, font);
    DefaultControlFont = font;
    std::vector<Expected> all = CreateAll(form.get());
    DefaultControlFont = nullptr;
    for (const Expected& e : all) {
        SCOPED_TRACE(e.what);
        EXPECT_EQ(font, FontOf(e.wnd));
    }
    DestroyWindow(form.get());
    DeleteObject(font);
}

TEST(ControlCreators, MinusOneSelectsTheEdgeOfEachCreator) {
    TestForm form;
    HWND p = form.get();
    CreationStyles created;
    struct {
        const char* what;
        HWND plain, edged;
        DWORD edge;
        bool kept; // false: the control replaces the edge with its own
    } cases[] = {
        {"button", CreateButton("b", p, 1, 0, 0, 50, 20),
         CreateButton("b", p, 2, 0, 0, 50, 20, 0, -1), WS_EX_STATICEDGE, true},
        {"edit", CreateEdit("", p, 3, 0, 0, 50, 20), CreateEdit("", p, 4, 0, 0, 50, 20, 0, -1),
         WS_EX_CLIENTEDGE, true},
        {"combo box", CreateComboBox("", p, 5, 0, 0, 50, 80),
         CreateComboBox("", p, 6, 0, 0, 50, 80, 0, -1), WS_EX_CLIENTEDGE, false},
        {"list box", CreateListBox("", p, 7, 0, 0, 50, 80),
         CreateListBox("", p, 8, 0, 0, 50, 80, 0, -1), WS_EX_CLIENTEDGE, true},
        {"progress bar", CreateProgressBar(p, 9, 0, 0, 50, 16),
         CreateProgressBar(p, 10, 0, 0, 50, 16, 0, -1), WS_EX_CLIENTEDGE, false},
    };
    const DWORD edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(0u, created.ExStyle(c.plain) & edges);
        EXPECT_EQ(c.edge, created.ExStyle(c.edged) & edges);
        if (!c.kept) continue;
        EXPECT_EQ(0u, ExStyle(c.plain) & edges);
        EXPECT_EQ(c.edge, ExStyle(c.edged) & edges);
    }
    // The other creators take the caller's extended style as it is.
    HWND label = CreateLabel("l", p, 11, 0, 0, 50, 20, 0, WS_EX_STATICEDGE);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_STATICEDGE), ExStyle(label) & WS_EX_STATICEDGE);
    HWND check = CreateCheckBox("c", p, 12, 0, 0, 50, 20, 0, WS_EX_CLIENTEDGE);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), ExStyle(check) & WS_EX_CLIENTEDGE);
}

TEST(ControlCreators, AGivenStyleReplacesTheDefault) {
    TestForm form;
    HWND edit = CreateEdit("", form.get(), 1, 0, 0, 80, 40, WS_CHILD | WS_VISIBLE | ES_MULTILINE);
    DWORD style = Style(edit);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & WS_TABSTOP);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);

    HWND button = CreateButton("b", form.get(), 2, 0, 0, 50, 20, WS_CHILD | BS_DEFPUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), Style(button) & BS_TYPEMASK);
    EXPECT_FALSE(Style(button) & (WS_VISIBLE | BS_MULTILINE));
}

// Width 0 sizes to the text as measured in the control's own font: a large
// font makes a measurement in any other font come out visibly different.
TEST(ControlCreators, WidthZeroSizesToTheTextInTheControlFont) {
    TestForm form;
    HFONT big = MakeFont("Arial", 20);
    DefaultControlFont = big;
    const char* text = "Browse for folder";
    HWND button = CreateButton(text, form.get(), 1, 5, 5, 0, 0);
    HWND check = CreateCheckBox(text, form.get(), 2, 5, 60, 0, 21);
    HWND radio = CreateRadioButton(text, form.get(), 3, 5, 90, 0, 22);
    HWND label = CreateLabel(text, form.get(), 4, 5, 120, 0, 0);
    HWND fixed = CreateButton(text, form.get(), 5, 5, 160, 70, 25);
    DefaultControlFont = nullptr;
    HWND small = CreateLabel(text, form.get(), 6, 5, 200, 0, 0);

    SIZE ext = TextExtent(label, text);
    SIZE smallExt = TextExtent(small, text);
    ASSERT_GT(ext.cx, smallExt.cx + 20);

    EXPECT_EQ(ext.cx + 24, Width(button));
    EXPECT_EQ(ext.cy + 12, Height(button));
    EXPECT_EQ(ext.cx + 24, Width(check));
    EXPECT_EQ(21, Height(check));
    EXPECT_EQ(ext.cx + 24, Width(radio));
    EXPECT_EQ(22, Height(radio));
    EXPECT_EQ(ext.cx, Width(label));
    EXPECT_EQ(ext.cy, Height(label));
    EXPECT_EQ(smallExt.cx, Width(small));
    EXPECT_EQ(70, Width(fixed));
    EXPECT_EQ(25, Height(fixed));
    DestroyWindow(form.get());
    DeleteObject(big);
}

TEST(ControlCreators, FormIsOfTheProgramClassWithRoomForItsFrame) {
    EnsureFormClass();
    HWND form = CreateForm("Caption", nullptr, 40, 50, 300, 200, 0, WS_EX_TOOLWINDOW);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ("KVX", ClassName(form));
    EXPECT_EQ(304, Width(form));
    EXPECT_EQ(212, Height(form));
    DWORD bits =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(bits, Style(form) & bits);
    EXPECT_TRUE(ExStyle(form) & WS_EX_TOOLWINDOW);
    char caption[32] = "";
    GetWindowTextA(form, caption, sizeof caption);
    EXPECT_STREQ("Caption", caption);
    DestroyWindow(form);
}

TEST(ControlCreators, StatusBarGetsItsParts) {
    TestForm form;
    const int edges[] = {120, 260, -1};
    HWND bar = CreateStatusBar(form.get(), ID_STATUS_BAR, 3, edges);
    ASSERT_NE(nullptr, bar);
    int got[8] = {};
    EXPECT_EQ(3, SendMessageA(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(got)));
    EXPECT_EQ(120, got[0]);
    EXPECT_EQ(260, got[1]);
    EXPECT_EQ(-1, got[2]);
    EXPECT_EQ(ID_STATUS_BAR, GetDlgCtrlID(bar));
}

TEST(ControlCreators, ProgressBarRunsFromZeroToHundredInSteps) {
    TestForm form;
    HWND bar = CreateProgressBar(form.get(), ID_PROGRESS_BAR, 0, 0, 200, 16);
    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(100, range.iHigh);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(2, SendMessageA(bar, PBM_GETPOS, 0, 0));
}

TEST(ControlCreators, FailedCreationGivesNull) {
    TestForm form;
    EXPECT_EQ(nullptr, CreateControl("KvxNoSuchClass", "", form.get(), 1, 0, 0, 10, 10));
}

// A 4 x 2 24-bit bitmap file.
std::string WriteSmallBitmap() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "KvxHelpersTest.bmp";
    const int w = 4, h = 2, stride = 12, dataSize = stride * h;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + dataSize;
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::vector<unsigned char> pixels(dataSize, 0x80);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return "";
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(pixels.data(), 1, pixels.size(), f);
    std::fclose(f);
    return path;
}

SIZE BitmapSize(HANDLE bmp) {
    BITMAP info = {};
    GetObjectA(bmp, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

TEST(ControlCreators, BitmapLabelShowsAFileStretchedToTheControl) {
    TestForm form;
    std::string path = WriteSmallBitmap();
    ASSERT_FALSE(path.empty());
    HWND label = CreateBitmapLabel(0, path.c_str(), form.get(), 7, 10, 10, 30, 20);
    ASSERT_NE(nullptr, label);
    DWORD bits = WS_CLIPSIBLINGS | WS_TABSTOP;
    EXPECT_EQ(bits, Style(label) & bits);
    EXPECT_EQ(static_cast<DWORD>(SS_BITMAP), Style(label) & SS_TYPEMASK);
    HANDLE bmp = reinterpret_cast<HANDLE>(SendMessageA(label, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(nullptr, bmp);
    SIZE size = BitmapSize(bmp);
    EXPECT_EQ(30, size.cx);
    EXPECT_EQ(20, size.cy);
    EXPECT_EQ(30, Width(label));
    EXPECT_EQ(20, Height(label));
    DeleteFileA(path.c_str());

    HWND missing = CreateBitmapLabel(0, "Z:\\no\\such\\picture.bmp", form.get(), 8, 0, 0, 30, 20);
    ASSERT_NE(nullptr, missing);
    EXPECT_EQ(0, SendMessageA(missing, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST(ControlCreators, BitmapLabelLoadsAResourceAtTheControlSize) {
    if (!FindResourceA(nullptr, MAKEINTRESOURCEA(IDB_NO_PREVIEW), MAKEINTRESOURCEA(2)))
        GTEST_SKIP() << "placeholder bitmap not in the resources";
    TestForm form;
    HWND label = CreateBitmapLabel(IDB_NO_PREVIEW, nullptr, form.get(), 7, 0, 0, 90, 57);
    HANDLE bmp = reinterpret_cast<HANDLE>(SendMessageA(label, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(nullptr, bmp);
    SIZE size = BitmapSize(bmp);
    EXPECT_EQ(90, size.cx);
    EXPECT_EQ(57, size.cy);
}

TEST(ControlCreators, IconLabelLoadsTheIconAtTheRequestedSize) {
    if (!FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_KORVEX), MAKEINTRESOURCEA(14)))
        GTEST_SKIP() << "program icon not in the resources";
    TestForm form;
    for (int size : {16, 32}) {
        HWND label = CreateIconLabel(IDI_KORVEX, form.get(), 1, 0, 0, size, size,
                                     WS_CHILD | WS_VISIBLE | SS_ICON);
        HICON icon = reinterpret_cast<HICON>(SendMessageA(label, STM_GETIMAGE, IMAGE_ICON, 0));
        ASSERT_NE(nullptr, icon);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_EQ(size, BitmapSize(info.hbmMask).cx);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

} // namespace
