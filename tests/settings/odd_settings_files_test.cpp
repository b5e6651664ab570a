// Settings files as users leave them: megabytes of junk, UTF-16 without a
// byte-order mark, a [MAIN] the program never wrote. Each is read into a
// usable window and left readable, with everything else it held kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/html_settings.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "settings/settings_file.h"
#include "tests/settings/settings_fixture.h"
#include "tests/support/dialog_answerer.h"

namespace {

class OddSettingsFiles : public ::testing::Test {
  protected:
    ScratchFolder folder;
    MainWindowFixture window;
    int fileCount = 0;

    void SetUp() override {
        Settings = MainSettings();
        SetCurrentFolder("C:\\");
    }

    void UseFile(const std::string& bytes) {
        Paths.settingsFile = folder.path() + "KVX" + std::to_string(++fileCount) + ".ini";
        ASSERT_TRUE(WriteBytes(Paths.settingsFile, bytes));
    }

    // Saves; any message shown fails the test.
    static void SaveQuietly() {
        DialogAnswerer none;
        SaveMainSettings();
    }

    // The window and the columns as a new file gives them.
    void ExpectNewFileLayout() const {
        RECT r = window.WindowRect();
        EXPECT_EQ(600, r.right - r.left);
        EXPECT_EQ(400, r.bottom - r.top);
        const int widths[7] = {0, 180, 175, 100, 75, 120, 60};
        for (int c = 1; c <= 6; ++c) {
            EXPECT_EQ(widths[c], window.ColumnWidth(c)) << c;
            EXPECT_TRUE(window.IsChecked(IDM_COL_PREVIEW + c - 1)) << c;
        }
    }
};

std::string Utf16(const std::string& utf8, bool bigEndian) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    std::string bytes;
    for (wchar_t c : wide) {
        char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string Utf8(const std::string& utf16, bool bigEndian) {
    std::wstring wide;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        unsigned char a = static_cast<unsigned char>(utf16[i]),
                      b = static_cast<unsigned char>(utf16[i + 1]);
        wide.push_back(static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    std::string text(wide.size() * 3, '\0');
    text.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    &text[0], static_cast<int>(text.size()), nullptr, nullptr));
    return text;
}

} // namespace

// Ten megabytes of lines nobody reads, in [MAIN] before its keys and in a
// section of their own: the program starts and closes as with a small file.
// (Read key by key, such a file took over ten seconds each way.)
TEST_F(OddSettingsFiles, TenMegabytesOfJunkStartAndCloseInWellUnderASecond) {
    std::string junk;
    for (int n = 0; junk.size() < 5 * 1024 * 1024; ++n)
        junk += "junk line " + std::to_string(n) + (n % 2 ? " = some value\r\n" : " no key\r\n");
    UseFile("[MAIN]\r\n" + junk + "Left=30\r\nTop=40\r\nWidth=500\r\nHeight=300\r\n" +
            "Favorite01=C:\\Plans\r\n\r\n[JUNK]\r\n" + junk + "[HTML]\r\nRows=3\r\n");
    const std::string before = ReadBytes(Paths.settingsFile);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    WindowBox box = ReadWindowBox();
    LoadMainSettings();
    std::string path = ReadMainText("Path");
    Settings.favorites[2] = "C:\\Site";
    SaveQuietly();
    QueryPerformanceCounter(&end);
    double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    // Under a second even on a loaded machine; the limit leaves room for it.
    EXPECT_LT(seconds, 2.0);

    EXPECT_EQ(500, box.width);
    RECT r = window.WindowRect();
    EXPECT_EQ(500, r.right - r.left);
    EXPECT_EQ("C:\\Plans", Settings.favorites[1]);
    // The junk is all there; the saved keys read back.
    std::string after = ReadBytes(Paths.settingsFile);
    EXPECT_NE(std::string::npos, after.find("[MAIN]\r\n" + junk));
    EXPECT_NE(std::string::npos, after.find("[JUNK]\r\n" + junk + "[HTML]\r\nRows=3\r\n"));
    EXPECT_GT(after.size(), before.size());
    EXPECT_EQ("C:\\Site", ReadMainText("Favorite02"));
    HtmlOptions = HtmlSettings();
    LoadHtmlSettings();
    EXPECT_EQ(3, HtmlOptions.layout);
}

// UTF-16 as an editor may save it, without a mark: read in it, and written
// back in it, never with 8-bit lines appended.
TEST_F(OddSettingsFiles, Utf16WithoutAMarkIsReadAndWrittenInIt) {
    const std::string chinese = "C:\\\xE4\xB8\xAD\xE6\x96\x87"; // 中文
    const std::string text = "[MAIN]\r\nLeft=30\r\nTop=40\r\nWidth=500\r\nHeight=300\r\n"
                             "ShowPreview=TRUE\r\nPreviewWidth=96\r\nFavorite01=" +
                             chinese + "\r\n\r\n[HTML]\r\nRows=3\r\n";
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        UseFile(Utf16(text, bigEndian));
        Settings = MainSettings();
        LoadMainSettings();
        RECT r = window.WindowRect();
        EXPECT_EQ(500, r.right - r.left);
        EXPECT_EQ(96, window.ColumnWidth(1));
        EXPECT_EQ(chinese, Settings.favorites[1]);

        Settings.favorites[2] = "C:\\Site " + chinese;
        SaveQuietly();
        HtmlOptions = HtmlSettings();
        LoadHtmlSettings();
        EXPECT_EQ(3, HtmlOptions.layout);
        HtmlOptions.layout = 1;
        {
            DialogAnswerer none;
            SaveHtmlSettings();
        }

        std::string saved = ReadBytes(Paths.settingsFile);
        std::string lines = Utf8(saved, bigEndian);
        EXPECT_EQ(0u, saved.size() % 2);
        EXPECT_NE(saved.substr(0, 2), bigEndian ? "\xFE\xFF" : "\xFF\xFE");
        EXPECT_EQ(std::string::npos, saved.find("[MAIN]")) << "8-bit lines were written";
        EXPECT_NE(std::string::npos, lines.find("\r\nFavorite01=" + chinese + "\r\n"));
        EXPECT_NE(std::string::npos, lines.find("\r\nFavorite02=C:\\Site " + chinese + "\r\n"));
        EXPECT_NE(std::string::npos, lines.find("[HTML]\r\nRows=1\r\n"));
        // Read back as it was written.
        Settings = MainSettings();
        LoadMainSettings();
        EXPECT_EQ("C:\\Site " + chinese, Settings.favorites[2]);
    }
}

// A [MAIN] without the window's and the columns' keys gives the window and
// columns of a new file, keeps what it does hold, and is saved whole.
TEST_F(OddSettingsFiles, MainWithoutWindowAndColumnKeysReadsAsANewFile) {
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"no bytes", ""},
        {"empty [MAIN]", "[MAIN]\r\n"},
        {"junk in [MAIN]", "[MAIN]\r\n\x01\x02 junk\r\nno key here\r\n=\r\nzz=1\r\n"},
        {"only favourites", "[MAIN]\r\nFavorite03=C:\\Kept\r\n"},
        {"no [MAIN]", "[HTML]\r\nRows=3\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseFile(c.file);
        for (int col = 1; col <= 6; ++col)
            CheckMenuItem(Win.viewMenu, IDM_COL_PREVIEW + col - 1, MF_BYCOMMAND | MF_UNCHECKED);
        Settings = MainSettings();

        WindowBox box = ReadWindowBox();
        EXPECT_EQ(600, box.width);
        EXPECT_EQ(400, box.height);
        LoadMainSettings();
        ExpectNewFileLayout();
        EXPECT_EQ("DETAIL", Settings.viewMode);
        EXPECT_EQ(c.file.find("Kept") != std::string::npos ? "C:\\Kept" : "",
                  Settings.favorites[3]);

        SaveQuietly();
        std::string saved = ReadBytes(Paths.settingsFile);
        EXPECT_EQ(0u, saved.find(c.file)) << saved; // what it held comes first, as it was
        EXPECT_EQ("TRUE", ReadMainText("ShowSize"));
        EXPECT_EQ("75", ReadMainText("SizeWidth"));
    }
}

// Each damaged window key takes its own default; the list shows columns, and
// what is saved is what is shown.
TEST_F(OddSettingsFiles, DamagedWindowKeysGiveAUsableWindowAndAreSavedSane) {
    const struct {
        const char* file;
        int box[4]; // left, top, width, height
    } cases[] = {
        {"[MAIN]\r\nLeft=40\r\nTop=50\r\nHei", {40, 50, 600, 400}}, // cut mid-line
        {"[MAIN]\r\nLeft=abc\r\nTop=50\r\nWidth=wide\r\nHeight=300\r\n", {0, 50, 600, 300}},
        {"[MAIN]\r\nLeft=40\r\nTop=50\r\nWidth=500\r\nHeight=-5\r\n", {40, 50, 500, 400}},
        {"[MAIN]\r\nLeft=9e9\r\nTop=1x\r\nWidth=99999999999\r\nHeight=100\r\n", {0, 0, 600, 400}},
    };
    const char* keys[] = {"Left", "Top", "Width", "Height"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        UseFile(c.file);
        LoadMainSettings();
        RECT r = window.WindowRect();
        const int shown[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
        for (int col = 1; col <= 6; ++col)
            EXPECT_LT(0, window.ColumnWidth(col)) << col; // none shown gives all
        SaveQuietly();
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(c.box[k], shown[k]) << keys[k];
            EXPECT_EQ(std::to_string(c.box[k]), ReadMainText(keys[k])) << keys[k];
        }
        EXPECT_EQ("TRUE", ReadMainText("ShowAttributes"));
    }
}
