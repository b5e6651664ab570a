#include "filelist/folder_environment.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
#include "runtime/dir_entries.h"
#include "settings/shortcuts.h"

static EntryFacts FactsOf(const DirEntry& entry) {
    EntryFacts facts;
    facts.attributes = entry.attributes;
    facts.size = entry.size;
    facts.lastWrite = entry.lastWrite;
    return facts;
}

static void EnumerateFolder(
    const std::string& pattern,
    const std::function<bool(const std::string& name, const EntryFacts& facts)>& visit) {
    DirEntries entries(pattern);
    DirEntry entry;
    while (entries.Next(entry))
        if (!visit(entry.name, FactsOf(entry))) return;
}

std::function<bool(std::string& path, DirEntry& entry)>
ListedEntries(const std::string& folder, const std::string& filter,
              const std::string& extensionSelection) {
    std::string pattern = ListingPattern(filter, extensionSelection);
    auto entries = std::make_shared<DirEntries>(pattern.empty() ? pattern : folder + pattern);
    return [entries, folder, extensionSelection](std::string& path, DirEntry& entry) {
        while (entries->Next(entry))
            if (ListsEntry(entry.name, FactsOf(entry), extensionSelection)) {
                path = folder + entry.name;
                return true;
            }
        return false;
    };
}

std::function<bool(std::string& path)> ListedPaths(const std::string& folder,
                                                   const std::string& filter,
                                                   const std::string& extensionSelection) {
    auto next = ListedEntries(folder, filter, extensionSelection);
    return [next](std::string& path) {
        DirEntry entry;
        return next(path, entry);
    };
}

static uint32_t Attributes(const std::string& path) {
    DWORD attributes = FileAttributesOf(path);
    return attributes == INVALID_FILE_ATTRIBUTES ? kNoAttributes : attributes;
}

ListingEnvironment FolderEnvironment(std::function<bool()> beforeEntry, const std::string& folder) {
    ListingEnvironment env;
    if (folder.empty()) {
        env.enumerate = EnumerateFolder;
        env.resolveShortcut = ResolveShortcutTarget;
    } else {
        env.enumerate = [folder](const std::string& pattern, const auto& visit) {
            EnumerateFolder(folder + pattern, visit);
        };
        env.resolveShortcut = [folder](const std::string& name) {
            return ResolveShortcutTarget(folder + name);
        };
    }
    env.attributes = Attributes;
    env.beforeEntry = std::move(beforeEntry);
    return env;
}
