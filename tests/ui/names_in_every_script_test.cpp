// Drawings and folders named in any script, and paths of any length: listed
// with their release and thumbnail, found by the search, copied, moved,
// deleted and opened as themselves, and kept as the last folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filelist/list_rows.h"
#include "filemanager/list_context_menu.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/long_paths.h"
#include "settings/settings_file.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/trash.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"

namespace {

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

const std::string kChinese = "\xE4\xB8\xAD\xE6\x96\x87";                          // 中文
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE"; // 日本語の
const std::string kArabic = "\xD9\x85\xD8\xAE\xD8\xB7\xD8\xB7";                   // مخطط
const std::string kAccent = "plan-\xC3\xA9";                                      // plan-é
const std::string kEmoji = "emoji_\xF0\x9F\x93\x90";                              // 📐
const std::string kFolder = "\xE5\x9B\xBE\xE7\xBA\xB8";                           // 图纸

class NamesTest : public MainWindowTest {
  protected:
    ScratchFolder root, target;
    std::string run = std::to_string(GetTickCount());

    // A drawing of release 2000 with a preview, its contents its own.
    static std::string Drawing(const std::string& name) {
        DibRecipe recipe;
        recipe.width = 30;
        recipe.height = 20;
        recipe.color = [](int x, int) { return x < 15 ? 0x000000u : 0xFFFFFFu; };
        recipe.palette = DrawingPalette();
        return MakeDrawing("AC1015", {{1, "header"}, {2, MakeDib(recipe)}}) + name;
    }
    std::vector<std::string> Names() const {
        // 80 Chinese characters are 240 bytes of UTF-8 (a Linux name holds
        // 255); 250 plain ones make a path past MAX_PATH.
        return {kChinese + ".dwg",
                kJapanese + run + ".dwg",
                kArabic + run + ".dwg",
                kAccent + ".dwg",
                kEmoji + run + ".dwg",
                Repeat("\xE4\xB8\xAD", 80) + ".dwg",
                std::string(250, 'n') + ".dwg"};
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        for (int n = 1; n <= 5; ++n)
            Settings.showCopyTo[n] = Settings.showMoveTo[n] = "FALSE";
        Settings.copyTo[1] = Settings.moveTo[1] = target.path();
        Settings.showCopyTo[1] = Settings.showMoveTo[1] = "TRUE";
    }
    int Row(const std::string& name) {
        std::vector<std::string> names = Column(2);
        auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? -1 : static_cast<int>(at - names.begin());
    }
};

TEST_F(NamesTest, DrawingsInEveryScriptAreListedFoundAndActedOnAsThemselves) {
    std::string folder = root.file(kFolder) + "\\";
    ASSERT_TRUE(CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
    std::vector<std::string> names = Names();
    for (const std::string& name : names)
        ASSERT_TRUE(WriteBytes(folder + name, Drawing(name))) << name;
    ListFolder(Unslashed(folder));

    std::vector<std::string> listed = Column(2), expected = names;
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, listed);
    for (int row = 0; row < static_cast<int>(names.size()); ++row) {
        EXPECT_EQ("2000", RowText(row, 3)) << Column(2)[row];
        EXPECT_GE(RowImage(row, 1), 3) << Column(2)[row]; // a thumbnail, no placeholder
    }
    EXPECT_NE(std::string::npos, Title().find(kFolder)) << Title();
    SaveMainSettings();
    EXPECT_EQ(folder, ReadMainText("Path"));

    // The search finds every one. (Its window is a dialog the answerer
    // would take for a question: it has none yet.)
    SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
    HWND results = GetDlgItem(LastSearchWindow, ID_SEARCH_LIST);
    std::vector<std::string> found;
    for (int i = 0; i < RowCount(results); ++i)
        found.push_back(RowText(results, i, 1));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(expected, found);
    SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);

    // Copied, moved, deleted and opened as themselves.
    DialogAnswerer answers;
    Select({Row(names[0]), Row(names[5])});
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(Row(names[0])));
    EXPECT_EQ(Drawing(names[0]), ReadBytes(target.file(names[0])));
    EXPECT_EQ(Drawing(names[5]), ReadBytes(target.file(names[5])));
    Select({Row(names[4])});
    RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(Row(names[4])));
    EXPECT_EQ(Drawing(names[4]), ReadBytes(target.file(names[4])));
    EXPECT_FALSE(PathExists(folder + names[4]));
    Select({Row(names[2])});
    answers.Add([](HWND dlg) { ClickButton(dlg, IDYES); }); // the shell's confirmation
    RunListCommand(IDM_LIST_DELETE, RowPoint(Row(names[2])));
    EXPECT_EQ(Drawing(names[2]), TrashedContents(names[2]));
    ScratchFolder opened;
    OpenRecorder recorder(opened.path());
    Select({Row(names[1])});
    KeyDown(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return PathExists(opened.file(names[1])); }));
}

// A folder whose path passes MAX_PATH characters lists its drawings.
TEST_F(NamesTest, AFolderOfThreeHundredCharactersIsListed) {
    std::string folder = root.path();
    while (folder.size() < 300) {
        folder += Repeat("d", 60) + "\\";
        ASSERT_TRUE(CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
    }
    ASSERT_TRUE(WriteBytes(folder + (kChinese + ".dwg"), Drawing("x")));
    ListFolder(Unslashed(folder));
    EXPECT_EQ(std::vector<std::string>{(kChinese + ".dwg")}, Column(2));
    EXPECT_EQ("2000", RowText(0, 3));
}

} // namespace
