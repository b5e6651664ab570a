// The rules of the file operations that need no window.
#include <gtest/gtest.h>

#include <set>

#include "filemanager/file_rules.h"
#include "filemanager/transfer_plan.h"
#include "runtime/strings.h"

TEST(FileRules, NamesTheSystemWouldReadOtherwiseAreRefusedWithTheirReason) {
    // A blank at the start is part of the name; 255 characters are a name.
    for (const std::string& name : std::vector<std::string>{
             "plan.dwg", "two words.dwg", "a&b.dwg", " lead.dwg", std::string(251, 'a') + ".dwg",
             "CONSOLE.dwg", "COM0.dwg", "con-plan.dwg"})
        EXPECT_EQ("", NameProblem(name)) << name;
    struct Case {
        const char* name;
        const char* problem;
    } refused[] = {
        {"", "has no name"},
        {"p*.dwg", "holds a character Windows does not allow in names"},
        {"a/b", "holds a character Windows does not allow in names"},
        {"plan.dwg\t", "holds a character Windows does not allow in names"},
        {"plan.dwg ", "ends in a dot or a space, which Windows drops from names"},
        {"plan.", "ends in a dot or a space, which Windows drops from names"},
        {"CON", "is a name Windows keeps for a device"},
        {"con.dwg", "is a name Windows keeps for a device"},
        {"Lpt9 .dwg", "is a name Windows keeps for a device"},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(c.problem, NameProblem(c.name)) << "[" << c.name << "]";
        EXPECT_FALSE(IsActionableName(c.name)) << "[" << c.name << "]";
    }
    EXPECT_EQ("", FolderNameProblem("New Folder"));
    EXPECT_EQ("\"b..\" ends in a dot or a space, which Windows drops from names.",
              FolderNameProblem("b.."));
    EXPECT_EQ("\"CON\" is a name Windows keeps for a device.", FolderNameProblem("CON"));
}

TEST(FileRules, SourceListEndsEachPathAndTheListWithANul) {
    EXPECT_EQ(std::string("C:\\a.dwg\0C:\\b c.dwg\0\0", 21),
              SourceList({"C:\\a.dwg", "C:\\b c.dwg"}));
    std::string many = SourceList(std::vector<std::string>(1000, std::string(247, 'x')));
    EXPECT_EQ(1000u * 248 + 1, many.size());
    EXPECT_EQ(std::string(2, '\0'), many.substr(many.size() - 2));
}

TEST(FileRules, ExtensionsAndMenuTexts) {
    for (const char* path : {"C:\\a.dwg", "a.DWG", "a.Dwt", "a.bak", "a.SV$"})
        EXPECT_TRUE(HasDrawingExtension(path)) << path;
    for (const char* path : {"a.dwgx", "a.txt", "a.sv"})
        EXPECT_FALSE(HasDrawingExtension(path)) << path;
    EXPECT_TRUE(IsBackupName("X.Bak"));
    EXPECT_FALSE(IsBackupName("bak.dwg"));
    EXPECT_EQ("&Open plan.dwg", OpenItemText("plan.dwg", 1));
    EXPECT_EQ("&Open 3 Selected Files", OpenItemText("plan.dwg", 3));
    EXPECT_EQ("Create plan.zip", ZipItemText("plan.dwg"));
    EXPECT_EQ("Create x.zip", ZipItemText("x.SV$"));
    EXPECT_EQ("C:\\Out\\", TargetItemText("TRUE", "C:\\Out"));
    EXPECT_EQ("C:\\Out\\", TargetItemText("TRUE", "C:\\Out\\"));
    EXPECT_EQ("", TargetItemText("TRUE", ""));
    EXPECT_EQ("", TargetItemText("true", "C:\\Out")); // flags are exact words
    // A name's "&" is no mnemonic.
    EXPECT_EQ("&Open a&&b.dwg", OpenItemText("a&b.dwg", 1));
    EXPECT_EQ("Create a&&b.zip", ZipItemText("a&b.dwg"));
    EXPECT_EQ("C:\\R&&D\\", TargetItemText("TRUE", "C:\\R&D"));
}

// What a copy or move does with each file, before anything is touched.
TEST(TransferPlan, TakenNamesAndCopiesIntoTheirOwnFolder) {
    std::set<std::string> onDisk = {"C:\\TO\\A.DWG", "C:\\TO\\A (2).DWG",
                                    "C:\\FROM\\COPY OF C.DWG"};
    ExistsFn exists = [&](const std::string& path) { return onDisk.count(Upper(path)) > 0; };
    const std::vector<std::string> files = {"C:\\from\\a.dwg", "C:\\from\\b.dwg",
                                            "C:\\other\\b.dwg"};
    auto Destinations = [](const std::vector<PlannedTransfer>& plan) {
        std::string all;
        for (const PlannedTransfer& item : plan)
            all += item.destination + (item.taken ? "*" : "") + "|";
        return all;
    };
    std::vector<PlannedTransfer> plan = PlanTransfer(files, "C:\\to", true, exists);
    // The second b.dwg, from another folder, is kept beside the first: no
    // file of the folder is in its way.
    EXPECT_EQ("C:\\to\\a.dwg*|C:\\to\\b.dwg|C:\\to\\b (2).dwg|", Destinations(plan));
    EXPECT_EQ(1, CountTaken(plan));
    struct Case {
        TakenNameChoice choice;
        std::string destinations;
    } cases[] = {
        {TakenNameChoice::Replace, "C:\\to\\a.dwg*|C:\\to\\b.dwg|C:\\to\\b (2).dwg|"},
        {TakenNameChoice::KeepBoth, "C:\\to\\a (3).dwg|C:\\to\\b.dwg|C:\\to\\b (2).dwg|"},
        {TakenNameChoice::Skip, "C:\\to\\b.dwg|C:\\to\\b (2).dwg|"},
        {TakenNameChoice::Cancel, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.destinations, Destinations(ApplyChoice(plan, c.choice, exists)))
            << static_cast<int>(c.choice);

    // Into the folder they lie in: a move leaves them, a copy is made beside.
    std::vector<std::string> own = {"C:\\from\\c.dwg", "C:\\from\\c.dwg"};
    EXPECT_EQ("", Destinations(PlanTransfer(own, "c:\\FROM\\", true, exists)));
    EXPECT_EQ("c:\\FROM\\Copy (2) of c.dwg|c:\\FROM\\Copy (3) of c.dwg|",
              Destinations(PlanTransfer(own, "c:\\FROM\\", false, exists)));
}

TEST(TransferPlan, NumberedNamesKeepTheExtension) {
    EXPECT_EQ("plan (2).dwg", NumberedName("plan.dwg", 2));
    EXPECT_EQ("a.b (10).dwg", NumberedName("a.b.dwg", 10));
    EXPECT_EQ("noext (2)", NumberedName("noext", 2));
    EXPECT_EQ(".hidden (2)", NumberedName(".hidden", 2));
    EXPECT_EQ("Copy of plan.dwg", CopyOfName("plan.dwg", 1));
    EXPECT_EQ("Copy (2) of plan.dwg", CopyOfName("plan.dwg", 2));
    EXPECT_TRUE(SamePath("C:\\Drawings", "c:\\DRAWINGS\\"));
    EXPECT_FALSE(SamePath("C:\\Drawings", "C:\\Drawings2"));
}
