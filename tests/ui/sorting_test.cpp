// Sorting the real file list: keys, directions, header marks and column 0.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "tests/ui/main_window_fixture.h"

namespace {

struct Row {
    std::string name, version, size, modified, attributes;
};

// Replaces the list's rows by rows with the given texts, in this order.
void FillRows(const std::vector<Row>& rows) {
    SendMessageA(Win.list, LVM_DELETEALLITEMS, 0, 0);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        InsertRowAtTop(row->name, 0);
        SetRowText(0, 2, row->name);
        SetRowText(0, 3, row->version);
        SetRowText(0, 4, row->size);
        SetRowText(0, 5, row->modified);
        SetRowText(0, 6, row->attributes);
    }
}

std::string HeaderOf(int column) {
    char text[64] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(GetDlgItem(Win.list, 0), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return text;
}

// A mouse click on a column's header, as the user makes it. The header must
// be in view: the Preview column is narrowed while the test clicks.
void ClickHeader(int column) {
    HWND header = GetDlgItem(Win.list, 0);
    RECT rect, client;
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    GetClientRect(header, &client);
    ASSERT_LT(rect.left + 4, client.right) << "header " << column << " out of view";
    LPARAM at = MAKELPARAM((rect.left + std::min(rect.right, client.right)) / 2,
                           (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
}

std::vector<std::string> Ranks(size_t n) {
    std::vector<std::string> ranks;
    for (size_t i = 0; i < n; ++i) {
        char text[16];
        snprintf(text, sizeof text, "%04u", static_cast<unsigned>(i));
        ranks.push_back(text);
    }
    return ranks;
}

std::vector<std::string> Reversed(std::vector<std::string> v) {
    std::reverse(v.begin(), v.end());
    return v;
}

class SortingTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_EQ("DETAIL", Settings.viewMode);
        SortColumn = 2;
        SortAscending = true;
    }
    void TearDown() override {
        SortColumn = 2;
        SortAscending = true;
        if (Settings.viewMode != "DETAIL") SendMessageA(Win.main, WM_COMMAND, IDM_DETAILS, 0);
    }
    static void SortBy(int column, bool ascending) {
        SortColumn = column;
        SortAscending = ascending;
        SortFileList();
    }
};

TEST_F(SortingTest, VersionsInReleaseOrderAndExactlyReversed) {
    FillRows({{"b.dwg", "2004", "1 KB", "", ""},
              {"c.dwg", "2.5", "1 KB", "", ""},
              {"a.dwg", "11/12", "1 KB", "", ""},
              {"a2.dwg", "2004", "1 KB", "", ""},
              {"u.dwg", "Unknown Version", "1 KB", "", ""}});
    SortBy(3, true);
    const std::vector<std::string> ascending = {"u.dwg", "c.dwg", "a.dwg", "a2.dwg", "b.dwg"};
    EXPECT_EQ(ascending, Column(2));
    EXPECT_EQ(Ranks(5), Column(0));
    EXPECT_EQ("Version ^", HeaderOf(3));
    SortBy(3, false);
    EXPECT_EQ(Reversed(ascending), Column(2));
    EXPECT_EQ(Ranks(5), Column(0));
    EXPECT_EQ("Version v", HeaderOf(3));
    EXPECT_EQ("Filename", HeaderOf(2));
}

TEST_F(SortingTest, SizesInNumericOrderWithEqualSizesByName) {
    FillRows({{"x.dwg", "2004", "12 KB", "", ""},
              {"big.dwg", "2004", "100,000 KB", "", ""},
              {"m.dwg", "2004", "1,234 KB", "", ""},
              {"z.dwg", "2004", "0 KB", "", ""},
              {"b.dwg", "2004", "12 KB", "", ""},
              {"n.dwg", "2004", "99,999 KB", "", ""},
              {"huge.dwg", "2004", "4,194,304 KB", "", ""}});
    SortBy(4, true);
    const std::vector<std::string> ascending = {"z.dwg", "b.dwg",   "x.dwg",   "m.dwg",
                                                "n.dwg", "big.dwg", "huge.dwg"};
    EXPECT_EQ(ascending, Column(2));
    SortBy(4, false);
    EXPECT_EQ(Reversed(ascending), Column(2));
}

// A sort reads the texts kept as the rows were written: a text written again
// counts, a row deleted is left out, and a row whose text was never kept is
// read from the list itself.
TEST_F(SortingTest, SortsByTheTextsAsLastWritten) {
    FillRows({{"a.dwg", "2004", "1 KB", "", ""},
              {"b.dwg", "2004", "2 KB", "", ""},
              {"c.dwg", "2004", "3 KB", "", ""},
              {"d.dwg", "2004", "4 KB", "", ""}});
    SetRowText(0, 4, "9 KB");
    SendMessageA(Win.list, LVM_DELETEITEM, 3, 0);
    SetRowText(2, 4, "0 KB");
    SortBy(4, true);
    EXPECT_EQ((std::vector<std::string>{"c.dwg", "b.dwg", "a.dwg"}), Column(2));
}

TEST_F(SortingTest, DatesByYearMonthDayAndMorningBeforeAfternoon) {
    FillRows({{"pm.dwg", "14", "1 KB", "03/01/2009 01:00 PM", "A"},
              {"noon.dwg", "14", "1 KB", "03/01/2009 12:05 PM", "A"},
              {"am.dwg", "14", "1 KB", "03/01/2009 11:59 AM", "A"},
              {"old.dwg", "14", "1 KB", "12/31/2008 11:30 PM", "A"},
              {"feb.dwg", "14", "1 KB", "02/28/2009 09:00 AM", "A"}});
    SortBy(5, true);
    // 12 o'clock begins the afternoon: "12:05 PM" before "01:00 PM".
    EXPECT_EQ((std::vector<std::string>{"old.dwg", "feb.dwg", "am.dwg", "noon.dwg", "pm.dwg"}),
              Column(2));
}

TEST_F(SortingTest, AttributesThenName) {
    FillRows({{"c.dwg", "14", "1 KB", "", "A"},
              {"b.dwg", "14", "1 KB", "", "RA"},
              {"a.dwg", "14", "1 KB", "", "A"}});
    SortBy(6, true);
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "c.dwg", "b.dwg"}), Column(2));
}

TEST_F(SortingTest, HeaderClicksFlipOnTheSortColumnAndKeepDirectionOnAnother) {
    FillRows({{"b.dwg", "2004", "12 KB", "", ""},
              {"a.dwg", "2.5", "1,234 KB", "", ""},
              {"c.dwg", "14", "0 KB", "", ""}});
    SortFileList();
    EXPECT_EQ("Filename ^", HeaderOf(2));
    LRESULT previewWidth = SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 1, 0);
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 10);
    ClickHeader(4);
    EXPECT_EQ("Size ^", HeaderOf(4));
    EXPECT_EQ("Filename", HeaderOf(2));
    EXPECT_EQ((std::vector<std::string>{"c.dwg", "b.dwg", "a.dwg"}), Column(2));
    ClickHeader(4);
    EXPECT_EQ("Size v", HeaderOf(4));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.dwg", "c.dwg"}), Column(2));
    ClickHeader(3);
    EXPECT_EQ("Version v", HeaderOf(3));
    EXPECT_EQ("Size", HeaderOf(4));
    EXPECT_EQ((std::vector<std::string>{"b.dwg", "c.dwg", "a.dwg"}), Column(2));
    EXPECT_EQ(3, SortColumn);

    // The Preview and SortItem headers do not sort. SortItem has no width to
    // click, so its notification is sent as the header would.
    ClickHeader(1);
    EXPECT_EQ(3, SortColumn);
    NMHEADERA click = {};
    click.hdr.hwndFrom = GetDlgItem(Win.list, 0);
    click.hdr.code = HDN_ITEMCLICKA;
    click.iItem = 0;
    SendMessageA(Win.list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(3, SortColumn);
    EXPECT_EQ((std::vector<std::string>{"b.dwg", "c.dwg", "a.dwg"}), Column(2));
    EXPECT_FALSE(SortAscending);
    EXPECT_EQ("Preview", HeaderOf(1));
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, previewWidth);
}

// The names in LIST view also get the room to be read in full.
TEST_F(SortingTest, ColumnZeroHoldsNamesInListAndRanksInDetail) {
    const std::string longName = "b drawing with a name long enough to need room.dwg";
    FillRows({{longName, "14", "1 KB", "", ""},
              {"C.dwg", "14", "1 KB", "", ""},
              {"a.dwg", "14", "1 KB", "", ""}});
    SortFileList(); // as after a listing in DETAIL view: ranks in column 0
    SendMessageA(Win.main, WM_COMMAND, IDM_LIST, 0);
    EXPECT_EQ((std::vector<std::string>{"a.dwg", longName, "C.dwg"}), Column(0));
    EXPECT_EQ(Column(2), Column(0));
    int imageWidth = 0, imageHeight = 0;
    ImageList_GetIconSize(Thumbs.images, &imageWidth, &imageHeight);
    EXPECT_GE(SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 0, 0),
              imageWidth + SendMessageA(Win.list, LVM_GETSTRINGWIDTHA, 0,
                                        reinterpret_cast<LPARAM>(longName.c_str())));
    SendMessageA(Win.main, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_EQ(Ranks(3), Column(0));
    EXPECT_EQ(0, SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 0, 0)); // SortItem stays hidden
    EXPECT_EQ((std::vector<std::string>{"a.dwg", longName, "C.dwg"}), Column(2));
}

// Keys equal apart from case keep the rows' order ascending, and descending
// is the exact reverse.
TEST_F(SortingTest, EqualKeysKeepTheirOrderAndReverseExactly) {
    FillRows({{"b.dwg", "14", "1 KB", "", ""},
              {"a.dwg", "14", "1 KB", "", ""},
              {"A.dwg", "14", "1 KB", "", ""}});
    SortBy(2, true);
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "A.dwg", "b.dwg"}), Column(2));
    SortBy(2, false);
    EXPECT_EQ((std::vector<std::string>{"b.dwg", "A.dwg", "a.dwg"}), Column(2));
}

// Column 0 of a row made after a sort holds its name until the next sort.
TEST_F(SortingTest, RowsMadeAfterASortAreRankedByTheNext) {
    FillRows({{"b.dwg", "14", "1 KB", "", ""}, {"a.dwg", "14", "1 KB", "", ""}});
    SortFileList();
    InsertRowAtTop("c.dwg", 0);
    SetRowText(0, 2, "c.dwg");
    EXPECT_EQ("c.dwg", Column(0)[0]);
    SortFileList();
    EXPECT_EQ(Ranks(3), Column(0));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.dwg", "c.dwg"}), Column(2));
    // As many rows as the last sort left, but not the same ones.
    SendMessageA(Win.list, LVM_DELETEITEM, 1, 0);
    InsertRowAtTop("0.dwg", 0);
    SetRowText(0, 2, "0.dwg");
    SortBy(2, false);
    EXPECT_EQ((std::vector<std::string>{"c.dwg", "a.dwg", "0.dwg"}), Column(2));
}

TEST_F(SortingTest, SortColumnOutOfRangeSortsByName) {
    for (int column : {0, 1, 10, -1}) {
        FillRows({{"b.dwg", "2.5", "1 KB", "", ""},
                  {"a.dwg", "2004", "1 KB", "", ""},
                  {"c.dwg", "14", "1 KB", "", ""}});
        SortColumn = column;
        SortAscending = true;
        SortFileList();
        EXPECT_EQ(2, SortColumn) << column;
        EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.dwg", "c.dwg"}), Column(2)) << column;
        EXPECT_EQ("Filename ^", HeaderOf(2)) << column;
    }
}

TEST_F(SortingTest, TwelveThousandRowsInBothDirections) {
    const int n = 12000;
    std::vector<Row> rows;
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        char name[32];
        snprintf(name, sizeof name, "r%05d.dwg", (i * 7919) % n); // scrambled
        rows.push_back({name, "2004", "1 KB", "", ""});
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    SendMessageA(Win.list, WM_SETREDRAW, FALSE, 0);
    FillRows(rows);
    SortBy(2, true);
    EXPECT_EQ(names, Column(2));
    std::vector<std::string> ranks = Column(0);
    EXPECT_EQ("0000", ranks.front());
    EXPECT_EQ("9999", ranks[9999]);
    EXPECT_EQ("11999", ranks.back());
    SortBy(2, false);
    EXPECT_EQ(Reversed(names), Column(2));
    EXPECT_EQ(ranks, Column(0));
    SendMessageA(Win.list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(Win.list, WM_SETREDRAW, TRUE, 0);
}

} // namespace
