// What a copy or move of files into a folder will do with each file, decided
// before anything is touched: which destinations are taken, what name a kept
// copy gets. Free of window calls; whether a path exists is asked of the
// caller.
#pragma once
#include <functional>
#include <string>
#include <vector>

// What the user chose for the files whose names are taken in the folder.
enum class TakenNameChoice { Replace, KeepBoth, Skip, Cancel };

struct PlannedTransfer {
    std::string source;      // full path of the file
    std::string destination; // full path it goes to
    bool taken = false;      // the destination holds another file of that name
};

using ExistsFn = std::function<bool(const std::string& path)>;

// Files that already lie in the folder: a move leaves them where they are, a
// copy is made beside them as "Copy of name" ("Copy (2) of name", ...).
// Every other file goes to the folder under its own name, marked taken when
// that name is in use; a second file of a name already planned (from another
// folder) gets a free numbered name.
std::vector<PlannedTransfer> PlanTransfer(const std::vector<std::string>& files,
                                          const std::string& folder, bool move,
                                          const ExistsFn& exists);

// Applies the user's answer to the taken names: Replace keeps them (the
// caller sends the old files to the trash first), KeepBoth gives each a free
// numbered name ("plan (2).dwg"), Skip drops them, Cancel drops everything.
// Names given to earlier files count as taken for later ones.
std::vector<PlannedTransfer> ApplyChoice(std::vector<PlannedTransfer> plan, TakenNameChoice choice,
                                         const ExistsFn& exists);

int CountTaken(const std::vector<PlannedTransfer>& plan);

// "plan (n).dwg" for plan.dwg; the number goes before the extension.
std::string NumberedName(const std::string& name, int n);
// "Copy of plan.dwg" for n = 1, "Copy (n) of plan.dwg" after.
std::string CopyOfName(const std::string& name, int n);

// Two spellings of one path, compared as the file system does (letter case
// and a trailing backslash do not count).
bool SamePath(const std::string& a, const std::string& b);
