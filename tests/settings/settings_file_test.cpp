// Saving the settings file: a save that cannot be completed leaves the old file
// byte for byte and tells the user once; a file in any form a user may save it
// (UTF-8 with a byte-order mark, UTF-16, LF line ends, lines of junk) is read
// and written back with every key kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/app_state.h"
#include "settings/settings_file.h"
#include "tests/settings/settings_fixture.h"
#include "tests/support/dialog_answerer.h"

namespace {

// A settings file with every [MAIN] key, [HTML] keys a dialog wrote, and a
// value the program cannot spell in ANSI (@, replaced per case). Lines end in
// "|"; with junk, odd lines a hand-edited file may hold go where "#" is.
const char* const FullSettings =
    "[MAIN]|Left=40|Top=50|Height=300|Width=500|State=0|Path=C:\\|DTVWidth=260|"
    "ShowPreview=TRUE|ShowFileName=TRUE|ShowVersion=FALSE|ShowSize=TRUE|ShowModified=TRUE|"
    "ShowAttributes=TRUE|SortColumn=3|ViewMode=DETAIL|PreviewWidth=96|FilenameWidth=175|"
    "VersionWidth=100|SizeWidth=75|ModifiedWidth=120|AttributesWidth=60|ShowCopyTo1=TRUE|"
    "ShowCopyTo2=FALSE|ShowCopyTo3=TRUE|ShowCopyTo4=TRUE|ShowCopyTo5=TRUE|ShowMoveTo1=TRUE|"
    "ShowMoveTo2=TRUE|ShowMoveTo3=TRUE|ShowMoveTo4=TRUE|ShowMoveTo5=FALSE|CopyTo1=C:\\Out|"
    "CopyTo2=|CopyTo3=|CopyTo4=|CopyTo5=|MoveTo1=|MoveTo2=|MoveTo3=|MoveTo4=|MoveTo5=D:\\Old|"
    "Favorite01=C:\\Plans|Favorite02=C:\\Site 2|Favorite03=|Favorite04=|Favorite05=|"
    "Favorite06=|Favorite07=|Favorite08=|Favorite09=|Favorite10=|Favorite11=|Favorite12=|"
    "Favorite13=|Favorite14=|Favorite15=|Favorite16=|Favorite17=|Favorite18=|Favorite19=|"
    "Favorite20=C:\\Last|#Invert=FALSE||[HTML]|Rows=3|Font=Arial|ShowHPreview=TRUE|"
    "ShowHSize=FALSE|ShowHeader=TRUE|UseCustomHeader=TRUE|CustomHeader=@|"
    "sHtmlTitle=Plans of the site|CustomExport=kept||";
const char* const JunkLines = "; a note=1|no equals sign here|=a value without key|"
                              "\x01\x02 odd=\x7f|Favorite02=a second copy|";

std::string JoinLines(bool junk, const char* lineEnd, const std::string& special) {
    std::string text = std::string(junk ? "stray=before any section|" : "") + FullSettings;
    text.replace(text.find('#'), 1, junk ? JunkLines : "");
    text.replace(text.find('@'), 1, special);
    for (size_t bar; (bar = text.find('|')) != std::string::npos;)
        text.replace(bar, 1, lineEnd);
    return text;
}

std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : wide) {
        char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Every key of a section as the system's profile reader sees it, in order.
std::vector<std::string> SectionLines(const std::string& path, const char* section) {
    std::string buf(65536, '\0');
    DWORD n =
        GetPrivateProfileSectionA(section, &buf[0], static_cast<DWORD>(buf.size()), path.c_str());
    std::vector<std::string> lines;
    for (size_t start = 0; start < n;) {
        size_t end = buf.find('\0', start);
        lines.push_back(buf.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    MainWindowFixture window;

    void SetUp() override {
        Settings = MainSettings();
        SetCurrentFolder("C:\\");
        Paths.settingsFile = folder.file("KVX.ini");
    }
    void TearDown() override {
        SetFileAttributesA(Paths.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    // Saves, answering the messages expected (OK); any other message is
    // reported as a failure by the answerer. The messages shown, as
    // "caption: text".
    std::vector<std::string> Save(int expectedMessages) {
        DialogAnswerer answers;
        for (int i = 0; i < expectedMessages; ++i)
            answers.Add([](HWND dialog) { ClickButton(dialog, IDOK); });
        SaveMainSettings();
        std::vector<std::string> shown;
        for (int i = 0; i < answers.Answered(); ++i)
            shown.push_back(answers.Seen(i).caption + ": " + answers.Seen(i).text);
        return shown;
    }
};

// One way for each step of the save to fail: the file may not be changed,
// the new file cannot be made, the old one cannot be read or replaced.
TEST_F(SettingsFileTest, FailedSaveKeepsTheFileWholeAndTellsTheUserOnce) {
    enum Obstacle { ReadOnlyFile, FolderInPlaceOfNewFile, FileHeldOpen, FileOpenForReadingOnly };
    const struct {
        Obstacle obstacle;
        const char* name;
    } cases[] = {{ReadOnlyFile, "read-only file"},
                 {FolderInPlaceOfNewFile, "folder in place of the new file"},
                 {FileHeldOpen, "file held open without sharing"},
                 {FileOpenForReadingOnly, "file open with reading shared only"}};
    const std::string original = JoinLines(false, "\r\n", "x");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(Paths.settingsFile, original));
        LoadMainSettings();
        Settings.favorites[3] = "C:\\Changed";
        HANDLE held = INVALID_HANDLE_VALUE;
        std::string newFile = Paths.settingsFile + ".new";
        switch (c.obstacle) {
        case ReadOnlyFile:
            SetFileAttributesA(Paths.settingsFile.c_str(), FILE_ATTRIBUTE_READONLY);
            break;
        case FolderInPlaceOfNewFile: CreateDirectoryA(newFile.c_str(), nullptr); break;
        case FileHeldOpen:
        case FileOpenForReadingOnly:
            held = CreateFileA(Paths.settingsFile.c_str(), GENERIC_READ,
                               c.obstacle == FileHeldOpen ? 0 : FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            break;
        }

        std::vector<std::string> shown = Save(1);

        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        SetFileAttributesA(Paths.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ("Error: Can't save settings to " + Paths.settingsFile, shown[0]);
        EXPECT_TRUE(ReadBytes(Paths.settingsFile) == original) << ReadBytes(Paths.settingsFile);
        if (c.obstacle == FolderInPlaceOfNewFile)
            RemoveDirectoryA(newFile.c_str());
        else
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(newFile.c_str()));
    }
    // Once the obstacle is gone, the save goes through without a word.
    LoadMainSettings();
    Settings.favorites[3] = "C:\\Changed";
    Save(0);
    EXPECT_EQ("C:\\Changed", ReadMainText("Favorite03"));
}

TEST_F(SettingsFileTest, EveryFormOfTheFileKeepsEveryKey) {
    enum Form { Ansi, Utf8, Utf16LE, Utf16BE };
    const std::string unicode = "\xE5\x9B\xB3\xE9\x9D\xA2"; // two ideographs, in UTF-8
    const struct {
        const char* name;
        Form form;
        const char* lineEnd;
        bool junk;
    } cases[] = {
        {"ANSI, CR LF", Ansi, "\r\n", false},        {"ANSI, LF", Ansi, "\n", false},
        {"ANSI with junk", Ansi, "\r\n", true},      {"UTF-8 mark", Utf8, "\r\n", false},
        {"UTF-8 mark, LF, junk", Utf8, "\n", true},  {"UTF-16", Utf16LE, "\r\n", false},
        {"UTF-16 with junk", Utf16LE, "\r\n", true}, {"UTF-16 big-endian", Utf16BE, "\r\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string header = c.form == Ansi ? "plain" : unicode;
        std::string text = JoinLines(c.junk, c.lineEnd, header);
        std::string bytes = c.form == Ansi   ? text
                            : c.form == Utf8 ? "\xEF\xBB\xBF" + text
                                             : Utf16Bytes(text, c.form == Utf16BE);
        ASSERT_TRUE(WriteBytes(Paths.settingsFile, bytes));
        std::vector<std::string> mainBefore = SectionLines(Paths.settingsFile, "MAIN");
        std::vector<std::string> htmlBefore = SectionLines(Paths.settingsFile, "HTML");
        ASSERT_FALSE(mainBefore.empty()) << "the system's reader does not know this form";

        Settings = MainSettings();
        LoadMainSettings();
        EXPECT_EQ("C:\\Site 2", Settings.favorites[2]);
        EXPECT_EQ(96, Settings.thumbWidth);
        EXPECT_EQ("D:\\Old", Settings.moveTo[5]);
        EXPECT_EQ("C:\\", ReadMainText("Path"));

        Settings.favorites[4] = "C:\\New";
        MoveWindow(Win.main, 40, 50, 500, 300, TRUE);
        Save(0);

        std::string saved = ReadBytes(Paths.settingsFile);
        size_t markLength = c.form == Utf8 ? 3 : c.form == Ansi ? 0 : 2;
        EXPECT_EQ(bytes.substr(0, markLength), saved.substr(0, markLength));
        bool lfOnly = std::string(c.lineEnd) == "\n";
        EXPECT_EQ(lfOnly, saved.find('\r') == std::string::npos);
        std::vector<std::string> mainAfter = SectionLines(Paths.settingsFile, "MAIN");
        for (std::string& line : mainBefore)
            if (line == "Favorite04=") line = "Favorite04=C:\\New";
        EXPECT_EQ(mainBefore, mainAfter);
        EXPECT_EQ(htmlBefore, SectionLines(Paths.settingsFile, "HTML"));
        // Written once more, nothing changes.
        LoadMainSettings();
        Save(0);
        EXPECT_TRUE(ReadBytes(Paths.settingsFile) == saved);
        // A character outside the ANSI code page is kept.
        std::string kept = c.form == Utf8 ? "CustomHeader=" + unicode
                           : c.form == Utf16LE
                               ? Utf16Bytes("CustomHeader=" + unicode, false).substr(2)
                               : std::string();
        EXPECT_NE(std::string::npos, saved.find(kept));
    }
}

// A window stored off every screen opens on the work area, and that place is
// saved, also when the window is closed maximised.
TEST_F(SettingsFileTest, WindowOffTheScreenComesBackAndIsSavedSo) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_TRUE(WriteBytes(Paths.settingsFile, "[MAIN]\r\nLeft=-100000\r\nTop=99999\r\n"
                                               "Width=100000\r\nHeight=-5\r\nState=2\r\n"));
    WindowBox box = ReadWindowBox();
    RECT boxRect = {box.left, box.top, box.left + box.width, box.top + box.height}, common;
    EXPECT_TRUE(IntersectRect(&common, &boxRect, &work) && EqualRect(&common, &boxRect));

    LoadMainSettings();
    ASSERT_TRUE(IsZoomed(Win.main));
    Save(0);
    const WindowBox saved = ReadWindowBox();
    EXPECT_TRUE(saved.left == box.left && saved.top == box.top && saved.width == box.width &&
                saved.height == box.height);
    EXPECT_EQ(box.width, ReadMainInt("Width"));
}

} // namespace
