#include "filelist/folder_environment.h"

#include <windows.h>

#include "runtime/file_facts.h"
#include "runtime/handles.h"
#include "settings/shortcuts.h"

static void EnumerateFolder(
    const std::string& pattern,
    const std::function<bool(const std::string& name, const EntryFacts& facts)>& visit) {
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find.valid()) return;
    do {
        EntryFacts facts;
        facts.attributes = data.dwFileAttributes;
        facts.size = EntrySize(data);
        facts.lastWrite = EntryLastWrite(data);
        if (!visit(data.cFileName, facts)) return;
    } while (FindNextFileA(find.get(), &data));
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
