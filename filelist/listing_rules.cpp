#include "filelist/listing_rules.h"

#include "runtime/strings.h"

std::string EntryExtension(const std::string& name) {
    return Upper(Right(name, 4));
}

bool IsDrawingExtension(const std::string& extension) {
    return extension == ".DWG" || extension == ".DWT" || extension == ".BAK" || extension == ".SV$";
}

bool IsAllTypes(const std::string& extensionSelection) {
    return Upper(extensionSelection) == "ALL TYPES";
}

bool IsFolderAttributes(uint32_t attributes) {
    return attributes != kNoAttributes && (attributes & kDirectoryAttribute) != 0;
}

// Walks the entries of one pattern, skipping "." and "..", giving the caller
// its chance before every entry. False when the caller abandoned the pass.
static bool
ForEachEntry(const ListingEnvironment& env, const std::string& pattern,
             const std::function<void(const std::string& name, const EntryFacts& facts)>& visit) {
    bool abandoned = false;
    env.enumerate(pattern, [&](const std::string& name, const EntryFacts& facts) {
        if (env.beforeEntry && !env.beforeEntry()) {
            abandoned = true;
            return false;
        }
        if (name != "." && name != "..") visit(name, facts);
        return true;
    });
    return !abandoned;
}

// Whether a file's extension is one the listing counts as a drawing.
static bool MatchesSelection(const std::string& extension, const std::string& selection) {
    return IsAllTypes(selection) ? IsDrawingExtension(extension) : extension == selection;
}

bool ClassifyEntries(const ListingEnvironment& env, const std::string& extensionSelection,
                     ListCounters& counters) {
    return ForEachEntry(env, "*.*", [&](const std::string& name, const EntryFacts& facts) {
        if (IsFolderAttributes(facts.attributes)) {
            counters.folders++;
            return;
        }
        std::string extension = EntryExtension(name);
        if (extension == ".LNK") {
            std::string target = env.resolveShortcut ? env.resolveShortcut(name) : std::string();
            if (!target.empty() && IsFolderAttributes(env.attributes(target)))
                counters.FolderShortcutSeen = true;
            counters.remaining++;
        } else if (MatchesSelection(extension, extensionSelection)) {
            counters.drawings++;
        } else {
            counters.remaining++;
        }
    });
}

// A filter names entries of the listed folder only: one with a folder or
// drive part would enumerate another folder's entries under this one.
bool FilterHasFolderPart(const std::string& filter) {
    return filter.find_first_of("\\/:") != std::string::npos;
}

bool PlanEntries(const ListingEnvironment& env, const std::string& filter,
                 const std::string& extensionSelection, ListCounters& counters) {
    if (FilterHasFolderPart(filter)) return true;
    return ForEachEntry(env, filter + ".*", [&](const std::string& name, const EntryFacts& facts) {
        if (IsFolderAttributes(facts.attributes)) return;
        if (MatchesSelection(EntryExtension(name), extensionSelection)) counters.planned++;
    });
}

std::string ListingPattern(const std::string& filter, const std::string& extensionSelection) {
    if (FilterHasFolderPart(filter)) return std::string();
    return filter + (IsAllTypes(extensionSelection) ? std::string(".*") : extensionSelection);
}

bool ListsEntry(const std::string& name, const EntryFacts& facts,
                const std::string& extensionSelection) {
    // The pattern also matches 8.3 short names ("plan.dwgx" is PLAN~1.DWG):
    // only the long name's extension counts.
    return name != "." && name != ".." && !IsFolderAttributes(facts.attributes) &&
           MatchesSelection(EntryExtension(name), extensionSelection);
}

bool ListEntries(
    const ListingEnvironment& env, const std::string& filter, const std::string& extensionSelection,
    ListCounters& counters,
    const std::function<void(const std::string& name, const EntryFacts& facts)>& onListed) {
    std::string pattern = ListingPattern(filter, extensionSelection);
    if (pattern.empty()) return true;
    return ForEachEntry(env, pattern, [&](const std::string& name, const EntryFacts& facts) {
        if (!ListsEntry(name, facts, extensionSelection)) return;
        counters.position++;
        counters.listed++;
        onListed(name, facts);
    });
}

std::string ListingSummary(const ListCounters& c, const std::string& extensionSelection) {
    // Entries added between the passes must not make a negative count.
    int other = c.drawings > c.listed ? c.drawings - c.listed : 0;
    int total = c.listed + other + c.remaining + c.folders;
    auto t = [](int n) { return Trim(NumberText(n)); };
    std::string filtered, others;
    if (IsAllTypes(extensionSelection)) {
        filtered = " Filtered AutoCAD File(s) + ";
        others = " Other AutoCAD File(s) + ";
    } else {
        std::string kind = Right(extensionSelection, 3);
        filtered = " Filtered " + kind + " File(s) + ";
        others = " Other " + kind + " File(s) + ";
    }
    return NumberText(c.listed) + filtered + t(other) + others + t(c.remaining) +
           " Remaining File(s) + " + t(c.folders) + " Folder(s)  =  " + t(total) +
           " Total Object(s) Found";
}
