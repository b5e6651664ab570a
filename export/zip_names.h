// The names of zip archives and the texts that report on them. Free of window
// calls.
#pragma once
#include <string>
#include <vector>

// The archive the zip options dialog's fields name: the folder and file name,
// each trimmed, joined with one backslash; ".zip" is added unless the name
// already ends in it, in any case.
std::string DialogArchivePath(const std::string& fileName, const std::string& folder);

// The archive one file goes into: its name with the last three characters
// replaced by "zip" (plan.dwg gives plan.zip, abc gives zip).
std::string SingleFileArchivePath(const std::string& entryName);

// The message naming the files a run could not read: those left out and
// those whose reading stopped partway, so that their entries are incomplete.
std::string UnreadFilesMessage(const std::vector<std::string>& leftOut,
                               const std::vector<std::string>& cutShort);
// The message when the one file of a single-file archive cannot be read.
std::string UnreadableFileMessage(const std::string& name);
