#include "export/zip_names.h"

#include "runtime/file_facts.h"
#include "runtime/strings.h"

// A message box taller than the screen hides its OK button: long lists are cut.
static const size_t kNamesShown = 20;

std::string DialogArchivePath(const std::string& fileName, const std::string& folder) {
    std::string path = Trim(WithTrailingBackslash(Trim(folder)) + Trim(fileName));
    if (Upper(Right(path, 4)) != ".ZIP") path += ".zip";
    return path;
}

std::string SingleFileArchivePath(const std::string& entryName) {
    size_t keep = entryName.size() > 3 ? entryName.size() - 3 : 0;
    return entryName.substr(0, keep) + "zip";
}

static std::string NameList(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        text += "\r\n" + names[i];
    if (names.size() > kNamesShown)
        text += "\r\n... and " + std::to_string(names.size() - kNamesShown) + " more";
    return text;
}

std::string UnreadFilesMessage(const std::vector<std::string>& leftOut,
                               const std::vector<std::string>& cutShort) {
    std::string text;
    if (!leftOut.empty())
        text += "These files could not be read and were left out of the zip file:\r\n" +
                NameList(leftOut);
    if (!cutShort.empty())
        text += std::string(text.empty() ? "" : "\r\n\r\n") +
                "These files could not be read to the end and are incomplete in the zip "
                "file:\r\n" +
                NameList(cutShort);
    return text;
}

std::string UnreadableFileMessage(const std::string& name) {
    return "This file could not be read, so no zip file was created:\r\n\r\n" + name;
}
