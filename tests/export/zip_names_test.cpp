#include <gtest/gtest.h>

#include "export/zip_names.h"

namespace {

TEST(ZipNames, DialogArchivePathJoinsTheTrimmedFieldsAndAddsZip) {
    struct Case {
        const char *name, *folder, *path;
    } cases[] = {
        {"backup", "C:\\Work", "C:\\Work\\backup.zip"},
        {"backup.ZIP", "C:\\Work", "C:\\Work\\backup.ZIP"},
        {"Backup.Zip", "C:\\Work", "C:\\Work\\Backup.Zip"},
        {"backup", "C:\\Work\\", "C:\\Work\\backup.zip"},
        {" \tbackup \r\n", "  C:\\Work  ", "C:\\Work\\backup.zip"},
        {"backup.zip.old", "C:\\Work", "C:\\Work\\backup.zip.old.zip"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.path, DialogArchivePath(c.name, c.folder)) << c.name << " in " << c.folder;
}

TEST(ZipNames, SingleFileArchiveReplacesTheLastThreeCharacters) {
    struct Case {
        const char *entry, *archive;
    } cases[] = {{"plan.dwg", "plan.zip"},
                 {"site.sv$", "site.zip"},
                 {"abc", "zip"},
                 {"ab", "zip"},
                 {"a.b.bak", "a.b.zip"}};
    for (const Case& c : cases)
        EXPECT_EQ(c.archive, SingleFileArchivePath(c.entry)) << c.entry;
}

TEST(ZipNames, UnreadFilesMessageNamesAtMostTwentyOfEachKind) {
    EXPECT_EQ("These files could not be read and were left out of the zip file:\r\n\r\na\r\nb",
              UnreadFilesMessage({"a", "b"}, {}));
    EXPECT_EQ("These files could not be read to the end and are incomplete in the zip file:"
              "\r\n\r\nc",
              UnreadFilesMessage({}, {"c"}));
    std::string many = UnreadFilesMessage(std::vector<std::string>(25, "x.dwg"), {"c"});
    EXPECT_NE(std::string::npos, many.find("x.dwg\r\n... and 5 more\r\n\r\nThese files"));
}

} // namespace
