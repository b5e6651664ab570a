#include "filelist/folder_environment.h"

#include <windows.h>

#include <memory>

#include "runtime/file_facts.h"
#include "runtime/handles.h"
#include "settings/shortcuts.h"

static EntryFacts FactsOf(const WIN32_FIND_DATAA& data) {
    EntryFacts facts;
    facts.attributes = data.dwFileAttributes;
    facts.size = EntrySize(data);
    facts.lastWrite = EntryLastWrite(data);
    return facts;
}

static void EnumerateFolder(
    const std::string& pattern,
    const std::function<bool(const std::string& name, const EntryFacts& facts)>& visit) {
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find.valid()) return;
    do {
        if (!visit(data.cFileName, FactsOf(data))) return;
    } while (FindNextFileA(find.get(), &data));
}

std::function<bool(std::string& path)> ListedPaths(const std::string& folder,
                                                   const std::string& filter,
                                                   const std::string& extensionSelection) {
    struct Scan {
        std::string folder, pattern, extension;
        FindHandle find;
        bool started = false;
    };
    auto scan = std::make_shared<Scan>();
    scan->folder = folder;
    scan->pattern = ListingPattern(filter, extensionSelection);
    scan->extension = extensionSelection;
    return [scan](std::string& path) {
        Scan& s = *scan;
        WIN32_FIND_DATAA data;
        for (;;) {
            bool any;
            if (!s.started) {
                s.started = true;
                if (s.pattern.empty()) return false;
                s.find.reset(FindFirstFileA((s.folder + s.pattern).c_str(), &data));
                any = s.find.valid();
            } else {
                any = s.find.valid() && FindNextFileA(s.find.get(), &data);
            }
            if (!any) return false;
            if (ListsEntry(data.cFileName, FactsOf(data), s.extension)) {
                path = s.folder + data.cFileName;
                return true;
            }
        }
    };
}

static uint32_t Attributes(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? kNoAttributes : attributes;
}

ListingEnvironment FolderEnvironment(std::function<bool()> beforeEntry) {
    ListingEnvironment env;
    env.enumerate = EnumerateFolder;
    env.attributes = Attributes;
    env.resolveShortcut = ResolveShortcutTarget;
    env.beforeEntry = std::move(beforeEntry);
    return env;
}
