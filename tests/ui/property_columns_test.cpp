// Patched copies of shared drawings in the real main window: the property
// columns, their sort, the Properties box and the search by a property text.
#include <gtest/gtest.h>
#include <windows.h>

#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "filemanager/list_context_menu.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/sample_dwg.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"

namespace {

class PropertyColumnsTest : public MainWindowTest {
  protected:
    ScratchFolder folder;
    void TearDown() override {
        for (int id : {IDM_COL_TITLE, IDM_COL_AUTHOR, IDM_COL_LAST_SAVED_BY})
            if (GetMenuState(Win.viewMenu, id, MF_BYCOMMAND) & MF_CHECKED)
                SendMessageA(Win.main, WM_COMMAND, id, 0);
        SearchPropertyText.clear();
    }
};

TEST_F(PropertyColumnsTest, ShownSortedSearchedAndInTheBox) {
    std::string shared = SampleDrawingFolder();
    if (shared.empty()) GTEST_SKIP() << "no shared drawings in this run";
    WriteBytes(folder.file("w.dwg"),
               WithPropertiesBlock(ReadBytes(shared + "libredwg_example_2004.dwg"),
                                   PropertiesBlock(false,
                                                   {"\xC9tude", "", "Jos\xE9 M\xFCller", "", "",
                                                    "Ren\xE9"
                                                    "e"},
                                                   {"Projet", "\x80 5"}),
                                   30));
    WriteBytes(folder.file("g.dwg"),
               WithPropertiesBlock(ReadBytes(shared + "libredwg_example_2010.dwg"),
                                   PropertiesBlock(true, {"Σχέδιο 𝄞", "", "张伟", "", "", "Zoë"}),
                                   30));
    WriteBytes(folder.file("a.dwg"), ReadBytes(shared + "libredwg_example_2013.dwg"));
    for (int id : {IDM_COL_TITLE, IDM_COL_AUTHOR, IDM_COL_LAST_SAVED_BY})
        SendMessageA(Win.main, WM_COMMAND, id, 0);
    ListFolder(Unslashed(folder.path()));

    SortColumn = 2;
    SortAscending = true;
    SortByHeaderClick(9);
    using Texts = std::vector<std::string>;
    EXPECT_EQ((Texts{"w.dwg", "a.dwg", "g.dwg"}), Column(2));
    EXPECT_EQ((Texts{"Étude", "", "Σχέδιο 𝄞"}), Column(7));
    EXPECT_EQ((Texts{"José Müller", "", "张伟"}), Column(8));
    EXPECT_EQ((Texts{"Renée", "rurban", "Zoë"}), Column(9));

    std::string said;
    {
        DialogAnswerer answers; // the search windows below are dialogs too
        answers.Add([&](HWND dlg) {
            said = DialogMessageText(dlg);
            SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        });
        Select({0});
        RunListCommand(IDM_LIST_PROPERTIES, RowPoint(0));
        ASSERT_TRUE(PumpUntil([&] { return answers.Answered() == 1; }));
    }
    for (const char* line :
         {"\r\n\r\nTitle:\tÉtude\r\nAuthor:\tJosé Müller\r\n", "Last Saved By:\tRenée\r\n",
          "Created:\t01/02/2020 10:00 AM", "\r\nProjet:\t€ 5"})
        EXPECT_NE(std::string::npos, said.find(line)) << line << " in " << said;

    SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
    EXPECT_EQ(3u, SearchFor("").size());
    EXPECT_EQ(Texts{"w.dwg"}, SearchFor("müLLER"));
    EXPECT_EQ(Texts{"g.dwg"}, SearchFor("σχέδιο"));
    SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);
}

} // namespace
