#include "filemanager/transfer_plan.h"

#include <set>

#include "runtime/file_facts.h"
#include "runtime/strings.h"

bool SamePath(const std::string& a, const std::string& b) {
    return Upper(WithTrailingBackslash(a)) == Upper(WithTrailingBackslash(b));
}

std::string NumberedName(const std::string& name, int n) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) dot = name.size();
    return name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
}

std::string CopyOfName(const std::string& name, int n) {
    return n == 1 ? "Copy of " + name : "Copy (" + std::to_string(n) + ") of " + name;
}

// The first name the namer makes that neither exists nor was handed out.
static std::string FreeName(const std::string& folder, const std::string& name,
                            std::string (*namer)(const std::string&, int), int first,
                            const ExistsFn& exists, std::set<std::string>& given) {
    for (int n = first;; ++n) {
        std::string path = folder + namer(name, n);
        if (!given.count(Upper(path)) && !exists(path)) {
            given.insert(Upper(path));
            return path;
        }
    }
}

std::vector<PlannedTransfer> PlanTransfer(const std::vector<std::string>& files,
                                          const std::string& folder, bool move,
                                          const ExistsFn& exists) {
    std::string into = WithTrailingBackslash(folder);
    std::vector<PlannedTransfer> plan;
    std::set<std::string> given;
    for (const std::string& file : files) {
        std::string name = FileNamePart(file);
        PlannedTransfer item;
        item.source = file;
        if (SamePath(FolderPart(file), into)) {
            if (move) continue;
            item.destination = FreeName(into, name, CopyOfName, 1, exists, given);
        } else {
            item.destination = into + name;
            // Two sources of one name (from two folders): the second would
            // land on the first, which is no file of the user's to ask
            // about, so it keeps both under a numbered name.
            if (given.count(Upper(item.destination)))
                item.destination = FreeName(into, name, NumberedName, 2, exists, given);
            else
                item.taken = exists(item.destination);
            given.insert(Upper(item.destination));
        }
        plan.push_back(item);
    }
    return plan;
}

std::vector<PlannedTransfer> ApplyChoice(std::vector<PlannedTransfer> plan, TakenNameChoice choice,
                                         const ExistsFn& exists) {
    if (choice == TakenNameChoice::Cancel) return {};
    std::vector<PlannedTransfer> kept;
    std::set<std::string> given;
    for (const PlannedTransfer& item : plan)
        if (!item.taken) given.insert(Upper(item.destination));
    for (PlannedTransfer item : plan) {
        if (item.taken && choice == TakenNameChoice::Skip) continue;
        if (item.taken && choice == TakenNameChoice::KeepBoth) {
            item.destination =
                FreeName(FolderPart(item.destination), FileNamePart(item.destination), NumberedName,
                         2, exists, given);
            item.taken = false;
        }
        kept.push_back(item);
    }
    return kept;
}

int CountTaken(const std::vector<PlannedTransfer>& plan) {
    int n = 0;
    for (const PlannedTransfer& item : plan)
        n += item.taken;
    return n;
}
