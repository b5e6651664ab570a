#include "tests/search/search_tree.h"

#include "runtime/file_facts.h"
#include "runtime/strings.h"
#include "search/drawing_search.h"
#include "tests/support/dwg_builder.h"

void MakeFolders(const std::string& folder) {
    std::string path = WithTrailingBackslash(folder);
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

void MakeDrawingFile(const std::string& path) {
    MakeFolders(FolderPart(path));
    WriteBytes(path, MakeDrawingWithoutImages("AC1015"));
}

WalkWatch* WalkWatch::current_ = nullptr;

WalkWatch::WalkWatch(std::function<void(const std::string&)> act) : act_(std::move(act)) {
    current_ = this;
    SearchEntryObserver = Observe;
}

WalkWatch::~WalkWatch() {
    SearchEntryObserver = nullptr;
    current_ = nullptr;
}

void WalkWatch::Observe(const std::string& path) {
    if (!current_) return;
    current_->entries_.push_back(path);
    if (current_->act_) current_->act_(path);
}

bool Inside(const std::string& path, const std::string& folder) {
    return Upper(path).compare(0, folder.size(), Upper(folder)) == 0;
}

bool IsDots(const std::string& path) {
    std::string name = FileNamePart(path);
    return name == "." || name == "..";
}
