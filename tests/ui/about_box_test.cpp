// The About box: its texts, links, hand cursor, colours and the ways it closes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/version_resource.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/about_dialog.h"

namespace {

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

std::string FontFace(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA log = {};
    GetObjectA(font, sizeof log, &log);
    return log.lfFaceName;
}

// Opens the About box from the Help menu; the answer looks at it and closes it.
void OpenAbout(DialogAnswerer::Answer answer) {
    DialogAnswerer answers;
    answers.Add(std::move(answer));
    SendMessageA(Win.main, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(1, answers.Answered());
    EXPECT_EQ(Win.list, GetFocus());
}

TEST_F(MainWindowTest, AboutBoxShowsTheProgramAndItsReleases) {
    // The version shown is the one the executable's version resource holds.
    const std::string version = ReadVersionResource(ExeFolder() + ExeName()).productVersion;
    ASSERT_FALSE(version.empty());
    OpenAbout([&version](HWND dialog) {
        EXPECT_EQ("About Korvex", WindowText(dialog));
        const struct {
            int id;
            std::string text;
        } texts[] = {
            {ID_ABOUT_TITLE, "Korvex"},
            {ID_ABOUT_VERSION_LABEL, "Version:"},
            {ID_ABOUT_VERSION, version},
            {ID_ABOUT_DATE_LABEL, "Date:"},
            {ID_ABOUT_DATE, "April 12, 2010"},
            {ID_ABOUT_IDENTIFY_LABEL, "Korvex will identify the following AutoCAD versions:"},
            {ID_ABOUT_IDENTIFY,
             "Version 2.5, 2.6, 9, 10, 11, 12, 13, 14, 2000, 2004, 2007 and 2010."},
            {ID_ABOUT_PREVIEW_LABEL, "Korvex will preview the following AutoCAD versions:"},
            {ID_ABOUT_PREVIEW, "Version 13, 14, 2000, 2004, 2007 and 2010."},
            {ID_ABOUT_WEB, "https://korvex.example.org"},
            {ID_ABOUT_MAIL, "korvex@example.org"},
            {ID_ABOUT_THANKS, "Thanks for trying KVX!"},
            {ID_ABOUT_OK, "OK"},
        };
        for (const auto& t : texts)
            EXPECT_EQ(t.text, ItemText(dialog, t.id)) << t.id;
        EXPECT_EQ("Arial", FontFace(GetDlgItem(dialog, ID_ABOUT_TITLE)));
        // A static wraps a text wider than itself onto a line it cannot show.
        for (int id : {ID_ABOUT_WEB, ID_ABOUT_MAIL, ID_ABOUT_THANKS, ID_ABOUT_IDENTIFY}) {
            HWND control = GetDlgItem(dialog, id);
            RECT client;
            GetClientRect(control, &client);
            EXPECT_LE(TextExtent(control, WindowText(control)).cx, client.right) << id;
        }
        EXPECT_EQ(GetDlgItem(dialog, ID_ABOUT_OK), GetFocus());

        HWND icon = GetDlgItem(dialog, ID_ABOUT_ICON);
        ASSERT_TRUE(icon);
        EXPECT_TRUE(SendMessageA(icon, STM_GETIMAGE, IMAGE_ICON, 0));
        RECT rect;
        GetWindowRect(icon, &rect);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(280, rect.left);
        EXPECT_EQ(30, rect.top);
        EXPECT_EQ(44, rect.right - rect.left);

        EXPECT_TRUE(GetPropA(GetDlgItem(dialog, ID_ABOUT_WEB), "hlink"));
        EXPECT_TRUE(GetPropA(GetDlgItem(dialog, ID_ABOUT_MAIL), "mlink"));
        EXPECT_TRUE(ClickButton(dialog, ID_ABOUT_OK));
    });
}

TEST_F(MainWindowTest, AboutBoxLinksAreBlueWithTheHandCursor) {
    OpenAbout([](HWND dialog) {
        UpdateWindow(dialog);
        for (int id : {ID_ABOUT_WEB, ID_ABOUT_MAIL}) {
            HWND link = GetDlgItem(dialog, id);
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
            SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            EXPECT_EQ(Win.handCursor, GetCursor()) << id;

            MemoryDC dc;
            auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc.get()),
                                                               reinterpret_cast<LPARAM>(link)));
            ASSERT_TRUE(brush) << id;
            WindowDC dialogDc(dialog);
            COLORREF background = GetPixel(dialogDc.get(), 1, 1);
            EXPECT_EQ(0xFF0000u, GetTextColor(dc.get())) << id;
            EXPECT_EQ(background, GetBkColor(dc.get())) << id;
            LOGBRUSH log = {};
            GetObjectA(brush, sizeof log, &log);
            EXPECT_EQ(background, log.lbColor) << id;
        }
        // Other texts keep the cursor and colours they have.
        HWND thanks = GetDlgItem(dialog, ID_ABOUT_THANKS);
        HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        SetCursor(arrow);
        SendMessageA(thanks, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(arrow, GetCursor());
        MemoryDC dc;
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(thanks));
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), GetTextColor(dc.get()));
        EXPECT_TRUE(ClickButton(dialog, ID_ABOUT_OK));
    });
}

TEST_F(MainWindowTest, AboutBoxClosesWithTheCloseBoxAndEsc) {
    LRESULT tips = SendMessageA(Win.tooltip, TTM_GETTOOLCOUNT, 0, 0);
    OpenAbout([&](HWND dialog) {
        EXPECT_EQ(tips + 2, SendMessageA(Win.tooltip, TTM_GETTOOLCOUNT, 0, 0));
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    OpenAbout([](HWND dialog) { PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0); });
    // The links' tips went with the box.
    EXPECT_EQ(tips, SendMessageA(Win.tooltip, TTM_GETTOOLCOUNT, 0, 0));
}

TEST(AboutLinks, WebOpensAsItIsMailWithMailto) {
    EXPECT_EQ("https://korvex.example.org",
              AboutLinkTarget(ID_ABOUT_WEB, "https://korvex.example.org"));
    EXPECT_EQ("mailto:korvex@example.org", AboutLinkTarget(ID_ABOUT_MAIL, "korvex@example.org"));
    EXPECT_EQ("", AboutLinkTarget(ID_ABOUT_THANKS, "Thanks for trying KVX!"));
}

} // namespace
