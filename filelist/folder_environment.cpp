#include "filelist/folder_environment.h"

#include <windows.h>

#include <memory>
#include <utility>

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

namespace {

// The entries matching a wildcard pattern, one at a time.
class PatternEntries {
  public:
    explicit PatternEntries(std::string pattern) : pattern_(std::move(pattern)) {}
    bool Next(WIN32_FIND_DATAA& data) {
        if (started_) return find_.valid() && FindNextFileA(find_.get(), &data);
        started_ = true;
        if (!pattern_.empty()) find_.reset(FindFirstFileA(pattern_.c_str(), &data));
        return find_.valid();
    }

  private:
    std::string pattern_;
    FindHandle find_;
    bool started_ = false;
};

} // namespace

static void EnumerateFolder(
    const std::string& pattern,
    const std::function<bool(const std::string& name, const EntryFacts& facts)>& visit) {
    PatternEntries entries(pattern);
    WIN32_FIND_DATAA data;
    while (entries.Next(data))
        if (!visit(data.cFileName, FactsOf(data))) return;
}

std::function<bool(std::string& path)> ListedPaths(const std::string& folder,
                                                   const std::string& filter,
                                                   const std::string& extensionSelection) {
    std::string pattern = ListingPattern(filter, extensionSelection);
    auto entries = std::make_shared<PatternEntries>(pattern.empty() ? pattern : folder + pattern);
    return [entries, folder, extensionSelection](std::string& path) {
        WIN32_FIND_DATAA data;
        while (entries->Next(data))
            if (ListsEntry(data.cFileName, FactsOf(data), extensionSelection)) {
                path = folder + data.cFileName;
                return true;
            }
        return false;
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
