// Where the settings file goes, what a new one holds, and the work paths.
#include <gtest/gtest.h>

#include "runtime/app_state.h"
#include "runtime/files.h"
#include "settings/settings_file.h"
#include "settings/settings_rules.h"
#include "tests/settings/settings_fixture.h"

static const char* const DefaultContents =
    "[MAIN]\r\n"
    "Left=0\r\nTop=0\r\nHeight=400\r\nWidth=600\r\nState=0\r\nPath=C:\\\r\nDTVWidth=250\r\n"
    "ShowPreview=TRUE\r\nShowFileName=TRUE\r\nShowVersion=TRUE\r\nShowSize=TRUE\r\n"
    "ShowModified=TRUE\r\nShowAttributes=TRUE\r\n"
    "SortColumn=2\r\nViewMode=DETAIL\r\n"
    "PreviewWidth=180\r\nFilenameWidth=175\r\nVersionWidth=100\r\nSizeWidth=75\r\n"
    "ModifiedWidth=120\r\nAttributesWidth=60\r\n"
    "ShowCopyTo1=TRUE\r\nShowCopyTo2=TRUE\r\nShowCopyTo3=TRUE\r\nShowCopyTo4=TRUE\r\n"
    "ShowCopyTo5=TRUE\r\n"
    "ShowMoveTo1=TRUE\r\nShowMoveTo2=TRUE\r\nShowMoveTo3=TRUE\r\nShowMoveTo4=TRUE\r\n"
    "ShowMoveTo5=TRUE\r\n"
    "Favorite01=\r\nFavorite02=\r\nFavorite03=\r\nFavorite04=\r\nFavorite05=\r\n"
    "Favorite06=\r\nFavorite07=\r\nFavorite08=\r\nFavorite09=\r\nFavorite10=\r\n"
    "Favorite11=\r\nFavorite12=\r\nFavorite13=\r\nFavorite14=\r\nFavorite15=\r\n"
    "Favorite16=\r\nFavorite17=\r\nFavorite18=\r\nFavorite19=\r\nFavorite20=\r\n"
    "Invert=FALSE\r\n"
    "\r\n"
    "[HTML]\r\n"
    "Rows=4\r\nFont=Times New Roman\r\n"
    "ShowHPreview=TRUE\r\nShowHFilename=TRUE\r\nShowHVersion=TRUE\r\nShowHSize=TRUE\r\n"
    "ShowHDate=TRUE\r\nShowHeader=TRUE\r\n"
    "UseCustomHeader=FALSE\r\nsCustomHeader=\r\nsHtmlHeader=\r\n"
    "sHtmlTitle=Korvex HTML Output\r\nUseCustomExport=FALSE\r\nsCustomExport=\r\n"
    "\r\n";

// A program folder and a temporary folder of the test's own. The program
// folder holds a stand-in executable, so the writability test can copy it.
class PrepareSettings : public ::testing::Test {
  protected:
    ScratchFolder program;
    ScratchFolder temp;
    std::string exeName = "Korvex.exe";

    void SetUp() override { WriteBytes(program.path() + exeName, "MZ stand-in"); }
    std::string ProgramIni() const { return program.path() + "KVX.ini"; }
    std::string TempIni() const { return temp.path() + "KVX.ini"; }
};

TEST_F(PrepareSettings, FirstRunWritesDefaultsThatTheNextRunMovesNextToTheExecutable) {
    // A new file always starts in the temporary folder ...
    PrepareSettingsFile(program.path(), exeName, temp.path());

    EXPECT_EQ(TempIni(), Paths.settingsFile);
    EXPECT_EQ(DefaultContents, ReadBytes(TempIni()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ProgramIni().c_str()));
    // ... and the writability probe is gone again.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((program.path() + "tmp.tmp").c_str()));

    // ... and the next run from the writable folder copies it there.
    PrepareSettingsFile(program.path(), exeName, temp.path());

    EXPECT_EQ(ProgramIni(), Paths.settingsFile);
    EXPECT_EQ(DefaultContents, ReadBytes(ProgramIni()));
}

TEST_F(PrepareSettings, WorkPathsLieInTheTemporaryFolder) {
    // Without its trailing backslash the folder is still joined correctly.
    std::string bare = Unslashed(temp.path());
    PrepareSettingsFile(program.path(), exeName, bare);

    EXPECT_EQ(temp.path(), Paths.tempFolder);
    EXPECT_EQ(program.path(), Paths.programFolder);
    EXPECT_EQ(exeName, Paths.programName);
    EXPECT_EQ(temp.path() + "KvxBmp.bmp", Paths.previewBitmap);
    EXPECT_EQ(temp.path() + "KvxHtml\\", Paths.htmlFolder);
    EXPECT_EQ(temp.path() + "KvxHtml\\KvxHtml.htm", Paths.htmlFile);
    DWORD attributes = GetFileAttributesA(Paths.htmlFolder.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(PrepareSettings, ReadOnlyProgramFolderUsesTheTemporaryFolder) {
    // A folder that cannot receive the probe copy counts as read-only.
    std::string unwritable = program.path() + "missing\\";
    PrepareSettingsFile(unwritable, exeName, temp.path());

    EXPECT_EQ(TempIni(), Paths.settingsFile);
    EXPECT_EQ(DefaultContents, ReadBytes(TempIni()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((unwritable + "KVX.ini").c_str()));
}

TEST_F(PrepareSettings, MissingExecutableMakesTheFolderCountAsReadOnly) {
    PrepareSettingsFile(program.path(), "Absent.exe", temp.path());

    EXPECT_EQ(TempIni(), Paths.settingsFile);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ProgramIni().c_str()));
}

TEST_F(PrepareSettings, TemporaryFileMovesNextToAWritableExecutable) {
    const std::string earlier = "[MAIN]\r\nLeft=33\r\n";
    WriteBytes(TempIni(), earlier);

    PrepareSettingsFile(program.path(), exeName, temp.path());

    EXPECT_EQ(ProgramIni(), Paths.settingsFile);
    EXPECT_EQ(earlier, ReadBytes(ProgramIni()));
}

TEST_F(PrepareSettings, ExistingProgramFileIsUsedAndNeverOverwritten) {
    const std::string own = "[MAIN]\r\nLeft=11\r\n";
    const std::string stale = "[MAIN]\r\nLeft=22\r\n";
    WriteBytes(ProgramIni(), own);
    WriteBytes(TempIni(), stale);

    PrepareSettingsFile(program.path(), exeName, temp.path());

    EXPECT_EQ(ProgramIni(), Paths.settingsFile);
    EXPECT_EQ(own, ReadBytes(ProgramIni()));
    EXPECT_EQ(stale, ReadBytes(TempIni()));
}

TEST_F(PrepareSettings, ExistingTemporaryFileIsKeptForAReadOnlyFolder) {
    const std::string earlier = "[MAIN]\r\nTop=5\r\n";
    WriteBytes(TempIni(), earlier);

    PrepareSettingsFile(program.path() + "missing\\", exeName, temp.path());

    EXPECT_EQ(TempIni(), Paths.settingsFile);
    EXPECT_EQ(earlier, ReadBytes(TempIni()));
}

// A folder named KVX.ini beside the executable is no settings file: the
// temporary folder's file is used, or made when there is none.
TEST_F(PrepareSettings, FolderInPlaceOfTheFileLeavesItToTheTemporaryOne) {
    const std::string earlier = "[MAIN]\r\nTop=5\r\n";
    for (bool temporaryFile : {true, false}) {
        SCOPED_TRACE(temporaryFile ? "temporary file there" : "no temporary file");
        DeleteFileA(TempIni().c_str());
        if (temporaryFile) WriteBytes(TempIni(), earlier);
        CreateDirectoryA(ProgramIni().c_str(), nullptr);

        PrepareSettingsFile(program.path(), exeName, temp.path());

        EXPECT_EQ(TempIni(), Paths.settingsFile);
        EXPECT_EQ(temporaryFile ? earlier : DefaultContents, ReadBytes(TempIni()));
        EXPECT_TRUE(GetFileAttributesA(ProgramIni().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_EQ(temporaryFile ? 5 : 0, ReadMainInt("Top"));
    }
}

TEST_F(PrepareSettings, FileThatCannotBeCreatedEndsTheProgram) {
    // The check runs again in a child process with folders of its own, so
    // the message is matched from the part below the test's folder.
    std::string nowhere = temp.path() + "no\\such\\";
    EXPECT_EXIT(PrepareSettingsFile(program.path() + "missing\\", exeName, nowhere),
                ::testing::ExitedWithCode(1),
                "^Can't open file .*\\\\no\\\\such\\\\KVX\\.ini\\s*$");
}

// A read-only program folder (no executable to copy) keeps settings in the
// user's folder, from its own file or the temporary copy (taken over once).
TEST_F(PrepareSettings, ReadOnlyProgramFolderKeepsSettingsInTheUserFolder) {
    ScratchFolder appData;
    const std::string user = appData.path() + "Korvex\\", top5 = "[MAIN]\r\nTop=5\r\n";
    const std::string programFiles[] = {"", "[MAIN]\r\nTop=7\r\n"};
    for (const std::string& programFile : programFiles) {
        RemoveTree(user);
        WriteBytes(TempIni(), top5);
        if (!programFile.empty()) WriteBytes(ProgramIni(), programFile);
        PrepareSettingsFile(program.path(), "Absent.exe", temp.path(), user);
        EXPECT_EQ(user + "KVX.ini", Paths.settingsFile);
        EXPECT_EQ(programFile.empty() ? top5 : programFile, ReadBytes(Paths.settingsFile));
        EXPECT_EQ(!programFile.empty(), PathExists(TempIni())) << "taken over once";
        ASSERT_TRUE(WriteSettingsValues(MainSection, {{"Left", "77"}}));
        PrepareSettingsFile(program.path(), "Absent.exe", temp.path(), user);
        EXPECT_EQ(77, ReadMainInt("Left")) << "kept across runs";
    }
}
