// The listing rules run over real folders through the system's enumeration.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "filelist/folder_environment.h"
#include "filelist/listing_rules.h"
#include "runtime/file_facts.h"
#include "settings/shortcuts.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shortcut_maker.h"

namespace {

struct Listing {
    ListCounters counters;
    std::vector<std::string> listed;
    std::string summary;
};

// Runs the three passes in the folder, as the list build does.
Listing RunPasses(const std::string& folder, const std::string& filter,
                  const std::string& extension) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.c_str());
    Listing result;
    ListingEnvironment env = FolderEnvironment([] { return true; });
    EXPECT_TRUE(ClassifyEntries(env, extension, result.counters));
    EXPECT_TRUE(PlanEntries(env, filter, extension, result.counters));
    EXPECT_TRUE(ListEntries(
        env, filter, extension, result.counters,
        [&](const std::string& name, const EntryFacts&) { result.listed.push_back(name); }));
    result.summary = ListingSummary(result.counters, extension);
    SetCurrentDirectoryA(previous);
    // The reading thread is handed the same entries, in the same order.
    std::string withSlash = WithTrailingBackslash(folder);
    std::vector<std::string> ahead;
    auto next = ListedPaths(withSlash, filter, extension);
    for (std::string path; next(path);)
        ahead.push_back(path.substr(withSlash.size()));
    EXPECT_EQ(result.listed, ahead) << "filter " << filter << ", " << extension;
    std::sort(result.listed.begin(), result.listed.end());
    return result;
}

class ListingRules : public ::testing::Test {
  protected:
    // a.dwg, b.DWG, c.dwt, d.bak, e.sv$, readme.txt, link.lnk (to a folder)
    // and two sub-folders.
    void SetUp() override {
        for (const char* name : {"a.dwg", "b.DWG", "c.dwt", "d.bak", "e.sv$", "readme.txt"})
            ASSERT_TRUE(WriteBytes(folder.file(name), "AC1015"));
        ASSERT_TRUE(CreateDirectoryA(folder.file("sub1").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(folder.file("sub2").c_str(), nullptr));
        ASSERT_TRUE(MakeShortcut(folder.file("link.lnk"), folder.file("sub1")));
    }
    ScratchFolder folder;
};

TEST_F(ListingRules, OneExtensionSelected) {
    Listing l = RunPasses(folder.path(), "*", ".DWG");
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.DWG"}), l.listed);
    EXPECT_EQ(" 2 Filtered DWG File(s) + 0 Other DWG File(s) + 5 Remaining File(s) + 2 "
              "Folder(s)  =  9 Total Object(s) Found",
              l.summary);
    EXPECT_TRUE(l.counters.FolderShortcutSeen);
    EXPECT_EQ(2, l.counters.planned);
    EXPECT_EQ(l.counters.listed, l.counters.position);
}

TEST_F(ListingRules, AllTypes) {
    Listing l = RunPasses(folder.path(), "*", "ALL TYPES");
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.DWG", "c.dwt", "d.bak", "e.sv$"}), l.listed);
    EXPECT_EQ(" 5 Filtered AutoCAD File(s) + 0 Other AutoCAD File(s) + 2 Remaining File(s) + 2 "
              "Folder(s)  =  9 Total Object(s) Found",
              l.summary);
    EXPECT_EQ(l.summary, RunPasses(folder.path(), "*", "all types").summary);
}

TEST_F(ListingRules, NameFilter) {
    Listing l = RunPasses(folder.path(), "a", ".DWG");
    EXPECT_EQ((std::vector<std::string>{"a.dwg"}), l.listed);
    EXPECT_EQ(" 1 Filtered DWG File(s) + 1 Other DWG File(s) + 5 Remaining File(s) + 2 "
              "Folder(s)  =  9 Total Object(s) Found",
              l.summary);
    EXPECT_EQ(1, l.counters.planned);
}

TEST_F(ListingRules, OtherExtensions) {
    EXPECT_EQ((std::vector<std::string>{"e.sv$"}), RunPasses(folder.path(), "*", ".SV$").listed);
    Listing l = RunPasses(folder.path(), "*", ".DWT");
    EXPECT_EQ((std::vector<std::string>{"c.dwt"}), l.listed);
    EXPECT_EQ(" 1 Filtered DWT File(s) + 0 Other DWT File(s) + 6 Remaining File(s) + 2 "
              "Folder(s)  =  9 Total Object(s) Found",
              l.summary);
}

// The wildcard also matches 8.3 short names (PLAN~1.DWG) and other folders'
// entries through a filter's folder part; neither may become a row or make a
// count negative.
TEST_F(ListingRules, OnlyLongNamesOfTheListedFolderCount) {
    for (const char* name : {"plan.dwgx", "x.dwg_old", "sub1\\s.dwg", "sub1\\t.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), "AC1015"));
    const struct {
        const char* filter;
        const char* extension;
        std::vector<std::string> listed;
        const char* summary;
    } cases[] = {
        {"*",
         ".DWG",
         {"a.dwg", "b.DWG"},
         " 2 Filtered DWG File(s) + 0 Other DWG File(s) + 7 Remaining File(s) + 2 Folder(s)  =  "
         "11 Total Object(s) Found"},
        {"*",
         "ALL TYPES",
         {"a.dwg", "b.DWG", "c.dwt", "d.bak", "e.sv$"},
         " 5 Filtered AutoCAD File(s) + 0 Other AutoCAD File(s) + 4 Remaining File(s) + 2 "
         "Folder(s)  =  11 Total Object(s) Found"},
        {"sub1\\*",
         ".DWG",
         {},
         " 0 Filtered DWG File(s) + 2 Other DWG File(s) + 7 Remaining File(s) + 2 Folder(s)  =  "
         "11 Total Object(s) Found"},
        {"sub1\\*",
         "ALL TYPES",
         {},
         " 0 Filtered AutoCAD File(s) + 5 Other AutoCAD File(s) + 4 Remaining File(s) + 2 "
         "Folder(s)  =  11 Total Object(s) Found"},
    };
    for (const auto& c : cases) {
        Listing l = RunPasses(folder.path(), c.filter, c.extension);
        EXPECT_EQ(c.listed, l.listed) << c.filter << " " << c.extension;
        EXPECT_EQ(c.summary, l.summary) << c.filter << " " << c.extension;
        EXPECT_EQ(static_cast<int>(c.listed.size()), l.counters.planned);
    }
    ListCounters raced; // a drawing listed that the count had not seen
    raced.listed = 1;
    EXPECT_EQ(0u, ListingSummary(raced, ".DWG").find(" 1 Filtered DWG File(s) + 0 Other"));
}

TEST_F(ListingRules, FolderNamedLikeADrawingIsOnlyAFolder) {
    ASSERT_TRUE(CreateDirectoryA(folder.file("x.dwg").c_str(), nullptr));
    for (const char* extension : {".DWG", "ALL TYPES"}) {
        Listing l = RunPasses(folder.path(), "*", extension);
        EXPECT_EQ(3, l.counters.folders) << extension;
        EXPECT_EQ(l.listed.end(), std::find(l.listed.begin(), l.listed.end(), "x.dwg"));
    }
}

TEST_F(ListingRules, FileNamedDwgWithoutDotIsARemainingFile) {
    ASSERT_TRUE(WriteBytes(folder.file("dwg"), "AC1015"));
    Listing l = RunPasses(folder.path(), "*", "ALL TYPES");
    EXPECT_EQ(5u, l.listed.size());
    EXPECT_EQ(3, l.counters.remaining);
}

TEST_F(ListingRules, HiddenAndSystemFilesCount) {
    ASSERT_TRUE(WriteBytes(folder.file("h.dwg"), "AC1015"));
    ASSERT_TRUE(WriteBytes(folder.file("s.dwg"), "AC1015"));
    ASSERT_TRUE(SetFileAttributesA(folder.file("h.dwg").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(folder.file("s.dwg").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_NE(0u, GetFileAttributesA(folder.file("h.dwg").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_NE(0u, GetFileAttributesA(folder.file("s.dwg").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    Listing l = RunPasses(folder.path(), "*", ".DWG");
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.DWG", "h.dwg", "s.dwg"}), l.listed);
    SetFileAttributesA(folder.file("h.dwg").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(folder.file("s.dwg").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ListingShortcuts, OnlyAShortcutToAnExistingFolderCounts) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("doc.txt"), "x"));
    ASSERT_TRUE(CreateDirectoryA(folder.file("gone").c_str(), nullptr));
    ASSERT_TRUE(MakeShortcut(folder.file("tofile.lnk"), folder.file("doc.txt")));
    ASSERT_TRUE(MakeShortcut(folder.file("tonothing.lnk"), folder.file("gone")));
    ASSERT_TRUE(RemoveDirectoryA(folder.file("gone").c_str()));
    ASSERT_TRUE(WriteBytes(folder.file("broken.lnk"), "not a shortcut"));
    Listing l = RunPasses(folder.path(), "*", ".DWG");
    EXPECT_FALSE(l.counters.FolderShortcutSeen);
    EXPECT_EQ(4, l.counters.remaining);

    ASSERT_TRUE(CreateDirectoryA(folder.file("there").c_str(), nullptr));
    ASSERT_TRUE(MakeShortcut(folder.file("tofolder.lnk"), folder.file("there")));
    EXPECT_TRUE(RunPasses(folder.path(), "*", ".DWG").counters.FolderShortcutSeen);
    EXPECT_EQ(folder.file("there"), ResolveShortcutTarget(folder.file("tofolder.lnk")));
    EXPECT_EQ("", ResolveShortcutTarget(folder.file("broken.lnk")));
}

TEST(ListingEmpty, EmptyFolderAndNoFolder) {
    ScratchFolder folder;
    EXPECT_EQ(" 0 Filtered DWG File(s) + 0 Other DWG File(s) + 0 Remaining File(s) + 0 "
              "Folder(s)  =  0 Total Object(s) Found",
              RunPasses(folder.path(), "*", ".DWG").summary);
    EXPECT_EQ(" 0 Filtered AutoCAD File(s) + 0 Other AutoCAD File(s) + 0 Remaining File(s) + 0 "
              "Folder(s)  =  0 Total Object(s) Found",
              ListingSummary(ListCounters(), "ALL TYPES"));
}

// The rows' size, date and attribute texts come from the enumeration: they
// must read as the look-up of each path would.
TEST(ListingFacts, EntryTextsMatchThePathTexts) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("big.dwg"), std::string(5000, 'x')));
    ASSERT_TRUE(WriteBytes(folder.file("old.dwg"), "AC1015"));
    SetFileAttributesA(folder.file("old.dwg").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    FILETIME past = {0x2A3B4C00, 0x01CA0000}; // 2009
    {
        HANDLE file = CreateFileA(folder.file("old.dwg").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        SetFileTime(file, nullptr, nullptr, &past);
        CloseHandle(file);
    }
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.path().c_str());
    ListCounters counters;
    int rows = 0;
    ListEntries(FolderEnvironment([] { return true; }), "*", ".DWG", counters,
                [&](const std::string& name, const EntryFacts& facts) {
                    ++rows;
                    std::string path = folder.file(name);
                    EXPECT_EQ(SizeText(path), KbText(facts.size)) << name;
                    EXPECT_EQ(ModifiedText(path), ModifiedTextOf(facts.lastWrite)) << name;
                    EXPECT_EQ(AttributeText(path), AttributeLetters(facts.attributes)) << name;
                });
    SetCurrentDirectoryA(previous);
    SetFileAttributesA(folder.file("old.dwg").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(2, rows);
}

TEST(ListingAbandon, BeforeEntryCanStopAPass) {
    ScratchFolder folder;
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), "AC1015"));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.path().c_str());
    int allowed = 1; // the pattern matches the three drawings only
    ListingEnvironment env = FolderEnvironment([&] { return allowed-- > 0; });
    ListCounters counters;
    int rows = 0;
    EXPECT_FALSE(ListEntries(env, "*", ".DWG", counters,
                             [&](const std::string&, const EntryFacts&) { ++rows; }));
    EXPECT_EQ(1, rows);
    SetCurrentDirectoryA(previous);
}

TEST(ListingRulesText, ExtensionsAndSummaryNumbers) {
    EXPECT_EQ(".DWG", EntryExtension("plan.dwg"));
    EXPECT_EQ(".SV$", EntryExtension("x.sv$"));
    EXPECT_EQ("DWG", EntryExtension("dwg"));
    EXPECT_FALSE(IsDrawingExtension("DWG"));
    ListCounters c;
    c.listed = 5;
    c.drawings = 7;
    c.remaining = 10;
    c.folders = 3;
    EXPECT_EQ(" 5 Filtered DWG File(s) + 2 Other DWG File(s) + 10 Remaining File(s) + 3 "
              "Folder(s)  =  20 Total Object(s) Found",
              ListingSummary(c, ".DWG"));
}

} // namespace
