// The listing rules' view of a real folder: wildcard enumeration, attribute
// words and shortcut targets, relative to the current directory.
#pragma once
#include <functional>
#include <string>

#include "filelist/listing_rules.h"
#include "runtime/dir_entries.h"

ListingEnvironment FolderEnvironment(std::function<bool()> beforeEntry,
                                     const std::string& folder = std::string());

// The full paths of the entries of folder (with a trailing backslash) that
// the listing pass lists, in its order: each call gives the next, false at
// the end. For a thread that reads the drawings ahead of the listing.
std::function<bool(std::string& path)> ListedPaths(const std::string& folder,
                                                   const std::string& filter,
                                                   const std::string& extensionSelection);
// The same with each path's directory entry.
std::function<bool(std::string& path, DirEntry& entry)>
ListedEntries(const std::string& folder, const std::string& filter,
              const std::string& extensionSelection);
