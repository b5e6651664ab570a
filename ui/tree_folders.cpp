// The folders of the tree pane, on the pane's thread. A folder's sub-folders
// are read when its node is first opened, a slice at a time between the
// thread's messages, and go into the tree while the node is still closed,
// where adding an item costs the same however many there are; the node then
// opens at once. Whatever a folder holds, the tree answers between slices.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "runtime/app_state.h"
#include "runtime/folder_browser.h"
#include "runtime/ids.h"
#include "runtime/long_paths.h"
#include "runtime/strings.h"
#include "runtime/sub_folders.h"
#include "ui/tree_pane_parts.h"

namespace {

struct FolderNode {
    enum Kind { kDesktop, kDrive, kFolder } kind = kFolder;
    FolderNode* parent = nullptr;
    std::string name; // a drive's letter and colon
    HTREEITEM item = nullptr;
    bool filled = false;                               // its sub-folders are in the tree
    bool openWhenFilled = false;                       // the user opened it before they were
    std::vector<std::unique_ptr<FolderNode>> children; // in tree order
};

// Work done in one go between messages, and at most before a navigation from
// the main thread returns.
constexpr DWORD kSliceBudget = 30;
// Entries of a shown folder looked at for its "+".
constexpr int kEntriesForPlus = 256;

// The pane being shown; a pane being closed lets go of them at once, while
// its windows may still be ending.
HWND dialog = nullptr, tree = nullptr;
std::unique_ptr<FolderNode> desktop;
std::string desktopPath;

// The node being filled, and those waiting.
FolderNode* filling = nullptr;
std::unique_ptr<SubFolderReader> reader;
std::vector<std::string> names; // read and sorted, going into the tree
size_t inserted = 0;
bool readDone = false;
std::deque<FolderNode*> waiting;
bool workPosted = false;

// The folder a navigation goes to, while it waits for folders on its way.
bool navigating = false;
std::string target;

std::string NodePath(const FolderNode* node) {
    switch (node->kind) {
    case FolderNode::kDesktop: return desktopPath;
    case FolderNode::kDrive: return node->name + "\\";
    case FolderNode::kFolder: break;
    }
    std::string parent = NodePath(node->parent);
    return node->parent->kind == FolderNode::kDrive ? parent + node->name
                                                    : parent + "\\" + node->name;
}

FolderNode* NodeOf(LPARAM param) {
    return reinterpret_cast<FolderNode*>(param);
}

HTREEITEM InsertItem(FolderNode* node, HTREEITEM parent, HTREEITEM after, const std::string& text,
                     int children) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.cChildren = children;
    insert.item.lParam = reinterpret_cast<LPARAM>(node);
    node->item =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&insert));
    return node->item;
}

void SetHasChildren(FolderNode* node, bool has) {
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = node->item;
    item.cChildren = has ? 1 : 0;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

FolderNode* AddChild(FolderNode* parent, size_t at, const std::string& name) {
    std::unique_ptr<FolderNode> child(new FolderNode);
    child->parent = parent;
    child->name = name;
    HTREEITEM after = at == 0 ? TVI_FIRST : parent->children[at - 1]->item;
    if (at == parent->children.size()) after = TVI_LAST;
    InsertItem(child.get(), parent->item, after, name, I_CHILDRENCALLBACK);
    parent->children.insert(parent->children.begin() + at, std::move(child));
    return parent->children[at].get();
}

// The index of the first child not before `name`.
size_t ChildPlace(const FolderNode* node, const std::string& name) {
    auto place =
        std::lower_bound(node->children.begin(), node->children.end(), name,
                         [](const std::unique_ptr<FolderNode>& child, const std::string& n) {
                             return FolderNameBefore(child->name, n);
                         });
    return static_cast<size_t>(place - node->children.begin());
}

FolderNode* FindChild(const FolderNode* node, const std::string& name) {
    // Names differing only in case sort side by side; the exact one first.
    size_t at = ChildPlace(node, name);
    while (at > 0 && SameFolderName(node->children[at - 1]->name, name))
        --at;
    FolderNode* found = nullptr;
    for (size_t i = at; i < node->children.size(); ++i) {
        const std::string& child = node->children[i]->name;
        if (!SameFolderName(child, name)) break;
        if (child == name) return node->children[i].get();
        if (!found) found = node->children[i].get();
    }
    return found;
}

// A drive is named by its kind: asking for its label may wake a sleeping
// disk or wait on a network.
std::string DriveText(const std::string& drive) {
    UINT type = GetDriveTypeA((drive + "\\").c_str());
    const char* kind = type == DRIVE_REMOVABLE ? "Removable Disk"
                       : type == DRIVE_CDROM   ? "CD Drive"
                       : type == DRIVE_REMOTE  ? "Network Drive"
                                               : "Local Disk";
    return std::string(kind) + " (" + drive + ")";
}

void FillTop() {
    desktop.reset(new FolderNode);
    desktop->kind = FolderNode::kDesktop;
    InsertItem(desktop.get(), TVI_ROOT, TVI_LAST, "Desktop", 1);
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        std::unique_ptr<FolderNode> drive(new FolderNode);
        drive->kind = FolderNode::kDrive;
        drive->parent = desktop.get();
        drive->name = std::string(1, static_cast<char>('A' + i)) + ":";
        InsertItem(drive.get(), desktop->item, TVI_LAST, DriveText(drive->name), 1);
        desktop->children.push_back(std::move(drive));
    }
    desktop->filled = true;
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(desktop->item));
}

void PostWork() {
    if (workPosted || !dialog) return;
    workPosted = PostMessageA(dialog, WM_KVX_TREE_WORK, 0, 0) != 0;
}

void QueueFill(FolderNode* node) {
    if (node->filled || node == filling) return;
    waiting.erase(std::remove(waiting.begin(), waiting.end(), node), waiting.end());
    // The newest request is the one the user waits for.
    waiting.push_front(node);
    PostWork();
}

void ContinueNavigation();

void FinishFill() {
    FolderNode* node = filling;
    node->filled = true;
    SetHasChildren(node, !node->children.empty());
    filling = nullptr;
    reader.reset();
    names.clear();
    names.shrink_to_fit();
    if (node->openWhenFilled && !node->children.empty())
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->item));
    node->openWhenFilled = false;
    ContinueNavigation();
}

// One step of the fill under way, within the time left; true when a fill
// went on or ended, false when none is left to do.
bool StepFill(DWORD start, DWORD budget) {
    if (!filling) {
        while (!waiting.empty() && waiting.front()->filled)
            waiting.pop_front();
        if (waiting.empty()) return false;
        filling = waiting.front();
        waiting.pop_front();
        reader.reset(new SubFolderReader(NodePath(filling)));
        readDone = false;
        inserted = 0;
    }
    DWORD spent = GetTickCount() - start;
    DWORD left = spent < budget ? budget - spent : 0;
    if (!readDone) {
        readDone = reader->ReadSome(left);
        if (readDone) names = reader->TakeSorted();
        return true;
    }
    // The node is closed while its children go in, so each is added at
    // the end without the tree redoing its layout.
    for (; inserted < names.size(); ++inserted) {
        std::unique_ptr<FolderNode> child(new FolderNode);
        child->parent = filling;
        child->name.swap(names[inserted]);
        InsertItem(child.get(), filling->item, TVI_LAST, child->name, I_CHILDRENCALLBACK);
        filling->children.push_back(std::move(child));
        if (inserted % 256 == 255 && GetTickCount() - start >= budget) {
            ++inserted;
            return true;
        }
    }
    FinishFill();
    return true;
}

void RunWork(DWORD budget) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < budget && StepFill(start, budget)) {
    }
    if (filling || !waiting.empty()) PostWork();
}

std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    size_t from = 0;
    while (from < path.size()) {
        size_t end = path.find('\\', from);
        if (end == std::string::npos) end = path.size();
        if (end > from) parts.push_back(path.substr(from, end - from));
        from = end + 1;
    }
    return parts;
}

void SelectNode(FolderNode* node) {
    auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (selected == node->item) {
        TreeSelectionUnchanged(target);
        return;
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node->item));
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node->item));
}

// Walks from the drive to the target, as far as the folders read so far
// allow; a folder on the way not yet read is read first, and the walk goes
// on when it is. A folder that is there but not in the tree (made after its
// parent was read, or hidden) is added to it.
void ContinueNavigation() {
    if (!navigating) return;
    std::vector<std::string> parts = PathParts(target);
    FolderNode* node = nullptr;
    if (!parts.empty() && parts[0].size() == 2 && parts[0][1] == ':')
        node = FindChild(desktop.get(), parts[0]);
    if (!node) {
        // Not on a drive of the tree (a network path): listed all the same.
        navigating = false;
        TreeSelectionUnchanged(target);
        return;
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        if (!node->filled) {
            QueueFill(node);
            return;
        }
        FolderNode* child = FindChild(node, parts[i]);
        if (!child) {
            std::string path =
                NodePath(node) + (node->kind == FolderNode::kDrive ? "" : "\\") + parts[i];
            DWORD attributes = FileAttributesOf(path);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                navigating = false; // not there: the tree stays where it is
                return;
            }
            child = AddChild(node, ChildPlace(node, parts[i]), parts[i]);
            SetHasChildren(node, true);
        }
        node = child;
    }
    navigating = false;
    SelectNode(node);
}

} // namespace

void StartTreeFolders(HWND paneDialog, HWND paneTree) {
    dialog = paneDialog;
    tree = paneTree;
    workPosted = false;
    navigating = false;
    LPITEMIDLIST items = nullptr;
    desktopPath.clear();
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &items)) && items) {
        desktopPath = PathOfItems(items);
        CoTaskMemFree(items);
    }
    FillTop();
}

void EndTreeFolders() {
    filling = nullptr;
    reader.reset();
    names.clear();
    waiting.clear();
    desktop.reset();
    dialog = tree = nullptr;
    navigating = workPosted = false;
}

void SelectFolderInTree(const std::string& folder, DWORD budget) {
    navigating = true;
    target = folder;
    ContinueNavigation();
    // Folders read on the way are read now for as long as the budget allows,
    // so that a navigation among folders of usual sizes ends before this
    // returns.
    DWORD start = GetTickCount();
    while (navigating && GetTickCount() - start < budget) {
        DWORD spent = GetTickCount() - start;
        RunWork(std::min(kSliceBudget, budget - spent));
        if (!filling && waiting.empty()) break;
    }
}

void DoTreeWork(HWND from) {
    if (from != dialog) return; // left by a pane that is closed
    workPosted = false;
    RunWork(kSliceBudget);
}

bool AnswerTreeNotify(NMHDR* hdr, LRESULT& result) {
    if (hdr->hwndFrom != tree) return false;
    switch (hdr->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(hdr);
        FolderNode* node = NodeOf(info->itemNew.lParam);
        result = FALSE;
        if (node && !node->filled && (info->action & TVE_EXPAND)) {
            // It opens once its sub-folders are in.
            node->openWhenFilled = true;
            QueueFill(node);
            result = TRUE;
        }
        return true;
    }
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(hdr);
        FolderNode* node = NodeOf(info->item.lParam);
        if (node && (info->item.mask & TVIF_CHILDREN)) {
            info->item.cChildren = node->filled ? !node->children.empty()
                                                : MayHaveSubFolder(NodePath(node), kEntriesForPlus);
            info->item.mask |= TVIF_DI_SETITEM;
        }
        result = 0;
        return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(hdr);
        // The user's own pick ends a navigation still waiting for a folder.
        if (info->action != TVC_UNKNOWN) navigating = false;
        FolderNode* node = NodeOf(info->itemNew.lParam);
        if (node) TreeSelectionChanged(NodePath(node));
        result = 0;
        return true;
    }
    }
    return false;
}
