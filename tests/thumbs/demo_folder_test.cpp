// The demo folder written by korvex_demo: every drawing gets the thumbnail or
// placeholder its release and preview call for, and the pictures are line
// drawings on white paper.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "inspect/dwg_inspect.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "tests/support/dwg_builder.h"
#include "tests/thumbs/thumb_support.h"

namespace {

enum class Shows { EightBit, TrueColour, Png, NotFound, NotSupported };

struct DemoFile {
    const char* name;
    const char* version;
    Shows shows;
};

const DemoFile kDemoDrawings[] = {
    {"Floor Plan Level 1.dwg", "2000", Shows::EightBit},
    {"Floor Plan Level 1.bak", "2000", Shows::EightBit},
    {"Flange DN150.dwg", "2004", Shows::EightBit},
    {"Title Block A3.dwg", "14", Shows::EightBit},
    {"Site Plan.dwg", "2007", Shows::EightBit},
    {"Gear 24 Teeth.dwg", "2010", Shows::EightBit},
    {"South Elevation.dwg", "13", Shows::EightBit},
    {"Floor Plan Level 2.dwg", "2013", Shows::Png},
    {"Title Block A1.dwg", "2018", Shows::Png},
    {"Pump Housing Render.dwg", "2004", Shows::TrueColour},
    {"Bracket Detail.dwg", "2000", Shows::NotFound},
    {"Electrical Layout.dwg", "2007", Shows::NotFound},
    {"Survey 1992 R12.dwg", "11/12", Shows::NotSupported},
    {"Pump Base R10.dwg", "10", Shows::NotSupported},
    {"Old Sketch R9.dwg", "9", Shows::NotSupported},
    {"Company Template.dwt", "2004", Shows::EightBit},
    {"Archive\\Floor Plan Level 0.dwg", "14", Shows::EightBit},
};

// Runs korvex_demo, built beside the test programs' folder, on `folder`.
// Returns its exit code, or -1 when it could not be started.
int RunDemo(const std::string& folder) {
    std::string exe = ExeFolder() + "..\\korvex_demo.exe";
    if (!PathExists(exe)) return -1;
    // No backslash before the closing quote: it would escape the quote.
    std::string bare = folder.back() == '\\' ? Unslashed(folder) : folder;
    std::string command = "\"" + exe + "\" \"" + bare + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

std::set<std::string> EntriesOf(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find.valid()) return names;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::string& inner : EntriesOf(folder + name + "\\"))
                names.insert(name + "\\" + inner);
            names.insert(name + "\\");
        } else {
            names.insert(name);
        }
    } while (FindNextFileA(find.get(), &data));
    return names;
}

class DemoFolder : public ThumbnailTest {
  protected:
    void SetUp() override {
        ThumbnailTest::SetUp();
        ASSERT_EQ(0, RunDemo(Folder())) << "korvex_demo.exe must be built next to tests\\";
    }
};

TEST_F(DemoFolder, HoldsTheDrawingsASubFolderAndAReadme) {
    std::set<std::string> expected = {"readme.txt", "Archive\\"};
    for (const DemoFile& f : kDemoDrawings)
        expected.insert(f.name);
    EXPECT_EQ(expected, EntriesOf(listed.path()));
    EXPECT_NE(std::string::npos, ReadBytes(listed.file("readme.txt")).find("Korvex"));
}

TEST_F(DemoFolder, EveryDrawingShowsItsPreviewOrTheRightPlaceholder) {
    for (const DemoFile& f : kDemoDrawings) {
        SCOPED_TRACE(f.name);
        std::string name = f.name;
        EXPECT_EQ(f.version, ReadDwgVersion(name));
        int before = ImageCount();
        MakeListThumbnail(name);
        EXPECT_EQ(Folder() + "\\" + f.name, name);

        switch (f.shows) {
        case Shows::NotFound:
            EXPECT_FALSE(PreviewFound);
            EXPECT_EQ(Thumbs.notFound, Thumbs.current);
            continue;
        case Shows::NotSupported:
            EXPECT_FALSE(PreviewFound);
            EXPECT_EQ(Thumbs.notSupported, Thumbs.current);
            continue;
        case Shows::EightBit:
        case Shows::TrueColour:
        case Shows::Png: break;
        }
        EXPECT_TRUE(PreviewFound);
        EXPECT_EQ(f.shows == Shows::EightBit, PreviewIs8Bit);
        EXPECT_EQ(before, Thumbs.current);

        GdiObject<HBITMAP> bitmap(LoadPreviewBitmap(Paths.previewBitmap));
        Pixels picture = ReadPixels(bitmap.get());
        EXPECT_EQ(256, picture.width);
        EXPECT_EQ(160, picture.height);
        std::set<uint32_t> colours(picture.rgb.begin(), picture.rgb.end());
        if (f.shows == Shows::TrueColour) {
            EXPECT_GT(colours.size(), 100u) << "a shaded picture";
            continue;
        }
        // Black lines and some coloured ones on mostly white paper.
        size_t white = 0;
        for (uint32_t c : picture.rgb)
            white += c == 0xFFFFFF;
        EXPECT_GT(white, picture.rgb.size() * 3 / 4);
        EXPECT_TRUE(colours.count(0x000000));
        EXPECT_GE(colours.size(), 3u);
    }
}

TEST_F(DemoFolder, IsWrittenTheSameEveryTime) {
    ScratchFolder again;
    ASSERT_EQ(0, RunDemo(again.path()));
    for (const DemoFile& f : kDemoDrawings) {
        SCOPED_TRACE(f.name);
        std::string bytes = ReadBytes(listed.file(f.name));
        EXPECT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes == ReadBytes(again.file(f.name)));
    }
}

} // namespace
