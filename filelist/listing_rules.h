// The rules that decide what a folder's listing counts and shows, and the
// summary line of counts. Free of window calls: the folder is reached through
// the environment the caller supplies.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct ListCounters {
    int folders = 0;
    int remaining = 0;
    int drawings = 0;
    int planned = 0;
    int listed = 0;
    int position = 0;
    bool FolderShortcutSeen = false;
};

constexpr uint32_t kNoAttributes = 0xFFFFFFFFu;
constexpr uint32_t kDirectoryAttribute = 0x10u;

// What the enumeration tells of an entry besides its name, so that nothing
// has to look the entry up again.
struct EntryFacts {
    uint32_t attributes = kNoAttributes;
    uint64_t size = 0;
    uint64_t lastWrite = 0; // the system's file time: 100 ns units since 1601, UTC
};

// What the rules need from the folder. Names are relative to the process's
// current directory, which the caller has made the listed folder.
struct ListingEnvironment {
    // Calls visit for each entry matching the wildcard pattern, in enumeration
    // order, "." and ".." included; stops early when visit returns false.
    std::function<void(
        const std::string& pattern,
        const std::function<bool(const std::string& name, const EntryFacts& facts)>& visit)>
        enumerate;
    // The attribute word of a path (a shortcut's target), or kNoAttributes
    // when it cannot be read.
    std::function<uint32_t(const std::string& path)> attributes;
    // The target path of a shortcut file, or "" when it cannot be resolved.
    std::function<std::string(const std::string& shortcut)> resolveShortcut;
    // Runs before every entry of every pass; false abandons the pass.
    std::function<bool()> beforeEntry;
};

// Extension of an entry: its last four characters in upper case.
std::string EntryExtension(const std::string& name);
bool IsDrawingExtension(const std::string& extension);
bool IsAllTypes(const std::string& extensionSelection);
// Folder test: attributes readable and the directory bit set.
bool IsFolderAttributes(uint32_t attributes);

// A filter with a folder or drive part matches no entry of the listed folder.
bool FilterHasFolderPart(const std::string& filter);

// The wildcard pattern the listing pass enumerates; "" when it lists nothing.
std::string ListingPattern(const std::string& filter, const std::string& extensionSelection);
// Whether the listing pass lists an entry its pattern matched.
bool ListsEntry(const std::string& name, const EntryFacts& facts,
                const std::string& extensionSelection);

// Each pass returns false when beforeEntry abandoned it.
bool ClassifyEntries(const ListingEnvironment& env, const std::string& extensionSelection,
                     ListCounters& counters);
bool PlanEntries(const ListingEnvironment& env, const std::string& filter,
                 const std::string& extensionSelection, ListCounters& counters);
bool ListEntries(
    const ListingEnvironment& env, const std::string& filter, const std::string& extensionSelection,
    ListCounters& counters,
    const std::function<void(const std::string& name, const EntryFacts& facts)>& onListed);

std::string ListingSummary(const ListCounters& counters, const std::string& extensionSelection);
