// Files dragged out of the list and dropped on it: the file-drop block, the
// answers of the drag's COM objects, a real OLE drag into a drop target of
// the test's own, and real drops on the list with the copy/move menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "filelist/list_selection.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/long_paths.h"
#include "filelist/list_rows.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/drop_maker.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/mouse.h"
#include "tests/support/pump_until.h"
#include "tests/ui/main_window_fixture.h"
#include "filemanager/drag_drop.h"
#include "filemanager/drag_objects.h"

namespace {

// Reference count of a COM object, read without changing it.
ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

std::vector<std::string> NamesInBlock(HGLOBAL block) {
    std::vector<std::string> names;
    HDROP drop = static_cast<HDROP>(block);
    UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        char name[2048] = {};
        DragQueryFileA(drop, i, name, sizeof name);
        names.push_back(name);
    }
    return names;
}

FORMATETC Format(CLIPFORMAT format, DWORD tymed, DWORD aspect = DVASPECT_CONTENT) {
    FORMATETC f = {format, nullptr, aspect, -1, tymed};
    return f;
}

// A data object holding one file-drop block of the names.
IDataObject* DataWithFiles(const std::vector<std::string>& names, HGLOBAL* block = nullptr) {
    IDataObject* data = CreateDragDataObject();
    FORMATETC format = FileDropFormat();
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = MakeFileDropBlock(names);
    if (block) *block = medium.hGlobal;
    EXPECT_EQ(S_OK, data->SetData(&format, &medium, TRUE));
    return data;
}

// A drop target as a file manager's folder is one: it takes copies and reads
// the file names from the file-drop block it asks for.
class TestDropTarget final : public IDropTarget {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        ++drops;
        FORMATETC format = Format(CF_HDROP, TYMED_HGLOBAL);
        STGMEDIUM medium = {};
        if (data->GetData(&format, &medium) == S_OK) {
            names = NamesInBlock(medium.hGlobal);
            ReleaseStgMedium(&medium);
        }
        // A receiver that moves the files itself and reports no effect, as
        // file managers do.
        if (takesFiles)
            for (const std::string& name : names)
                DeleteFileW(LongPathForm(name).c_str());
        *effect = takesFiles ? DROPEFFECT_NONE : DROPEFFECT_COPY;
        return S_OK;
    }

    ULONG refs = 1;
    int drops = 0;
    bool takesFiles = false;
    std::vector<std::string> names;
};

// A window that accepts OLE drops, with the mouse on it.
class DropWindow {
  public:
    // Not a static control: the system looks through those for the window
    // under the mouse.
    DropWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KvxTestDrop";
        RegisterClassA(&wc);
        wnd_ = CreateWindowExA(WS_EX_TOPMOST, "KvxTestDrop", "", WS_POPUP | WS_VISIBLE, 700, 300,
                               200, 200, nullptr, nullptr, nullptr, nullptr);
        registered_ = RegisterDragDrop(wnd_, &target) == S_OK;
        MoveCursorTo(POINT{800, 400});
    }
    ~DropWindow() {
        if (registered_) RevokeDragDrop(wnd_);
        DestroyWindow(wnd_);
    }
    bool ready() const { return registered_; }
    TestDropTarget target;

  private:
    HWND wnd_ = nullptr;
    bool registered_ = false;
};

TEST(FileDropBlock, HoldsTheHeaderAndEveryNameWholeInWideCharacters) {
    std::vector<std::string> names = {"C:\\a,b.dwg", "C:\\Caf\xC3\xA9\\\xE5\xB9\xB3.dwg"};
    HGLOBAL block = MakeFileDropBlock(names);
    ASSERT_TRUE(block);
    // 20 + the names with their NULs + the final NUL, two bytes a character.
    EXPECT_LE(20u + 2 * (10 + 1 + 12 + 1 + 1), GlobalSize(block));
    auto bytes = static_cast<const unsigned char*>(GlobalLock(block));
    DWORD header[5];
    std::memcpy(header, bytes, sizeof header);
    EXPECT_EQ(20u, header[0]);
    EXPECT_EQ(1u, header[4]); // wide
    std::wstring list(reinterpret_cast<const wchar_t*>(bytes + 20), 10 + 1 + 12 + 1 + 1);
    GlobalUnlock(block);
    EXPECT_EQ(std::wstring(L"C:\\a,b.dwg\0C:\\Caf\u00e9\\\u5e73.dwg\0\0", 25), list);
    EXPECT_EQ(names, NamesInBlock(block));
    GlobalFree(block);

    block = MakeFileDropBlock({});
    EXPECT_LE(24u, GlobalSize(block));
    GlobalFree(block);
}

TEST(DragDataObject, AnswersQueriesForItsFileDrop) {
    IDataObject* data = CreateDragDataObject();
    FORMATETC drop = Format(CF_HDROP, TYMED_HGLOBAL);
    EXPECT_EQ(DV_E_TYMED, data->QueryGetData(&drop)); // nothing stored yet
    data->Release();

    HGLOBAL block = nullptr;
    data = DataWithFiles({"C:\\x.dwg"}, &block);
    FORMATETC text = Format(CF_TEXT, TYMED_HGLOBAL);
    FORMATETC stream = Format(CF_HDROP, TYMED_ISTREAM);
    FORMATETC icon = Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_ICON);
    EXPECT_EQ(S_OK, data->QueryGetData(&drop));
    EXPECT_EQ(DV_E_CLIPFORMAT, data->QueryGetData(&text));
    EXPECT_EQ(DV_E_TYMED, data->QueryGetData(&stream));
    EXPECT_EQ(DV_E_DVASPECT, data->QueryGetData(&icon));
    EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(nullptr));

    STGMEDIUM medium = {};
    EXPECT_EQ(DV_E_FORMATETC, data->GetData(&text, &medium));
    EXPECT_EQ(DV_E_FORMATETC, data->GetData(&stream, &medium));
    EXPECT_EQ(E_NOTIMPL, data->GetDataHere(&drop, &medium));
    FORMATETC canonical = {};
    EXPECT_EQ(DATA_S_SAMEFORMATETC, data->GetCanonicalFormatEtc(&drop, &canonical));
    DWORD connection = 0;
    EXPECT_EQ(E_NOTIMPL, data->DAdvise(&drop, 0, nullptr, &connection));
    EXPECT_EQ(E_NOTIMPL, data->DUnadvise(0));
    IEnumSTATDATA* advises = nullptr;
    EXPECT_EQ(OLE_E_ADVISENOTSUPPORTED, data->EnumDAdvise(&advises));
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(OLE_S_USEREG, data->EnumFormatEtc(DATADIR_SET, &formats));
    EXPECT_EQ(nullptr, formats);

    IUnknown* unknown = nullptr;
    IDataObject* same = nullptr;
    IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
    EXPECT_EQ(S_OK, data->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(S_OK, data->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&same)));
    EXPECT_EQ(E_NOINTERFACE,
              data->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&target)));
    EXPECT_EQ(nullptr, target);
    EXPECT_EQ(3u, RefCount(data));
    unknown->Release();
    same->Release();

    // The copy is the receiver's: freeing it leaves the stored block and the
    // object's count as they were.
    ASSERT_EQ(S_OK, data->GetData(&drop, &medium));
    EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), medium.tymed);
    EXPECT_NE(block, medium.hGlobal);
    EXPECT_EQ(nullptr, medium.pUnkForRelease);
    EXPECT_EQ(std::vector<std::string>{"C:\\x.dwg"}, NamesInBlock(medium.hGlobal));
    ReleaseStgMedium(&medium);
    EXPECT_EQ(1u, RefCount(data));
    EXPECT_EQ(std::vector<std::string>{"C:\\x.dwg"}, NamesInBlock(block));

    // The object owns the block it was given: it goes with the object.
    EXPECT_EQ(0u, data->Release());
    EXPECT_EQ(0u, GlobalSize(block));
}

TEST(DragDataObject, KeepsACopyOfAMediumItDoesNotOwn) {
    IDataObject* data = CreateDragDataObject();
    FORMATETC format = FileDropFormat();
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = MakeFileDropBlock({"C:\\kept.dwg"});
    ASSERT_EQ(S_OK, data->SetData(&format, &medium, FALSE));
    ReleaseStgMedium(&medium); // still the caller's

    STGMEDIUM copy = {};
    ASSERT_EQ(S_OK, data->GetData(&format, &copy));
    EXPECT_EQ(std::vector<std::string>{"C:\\kept.dwg"}, NamesInBlock(copy.hGlobal));
    ReleaseStgMedium(&copy);
    data->Release();
}

TEST(FormatEnumerator, StepsThroughItsOwnCopyOfTheFormats) {
    IDataObject* data = DataWithFiles({"C:\\x.dwg"});
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &formats));
    data->Release(); // the enumerator does not need the object

    FORMATETC got[2] = {};
    ULONG fetched = 99;
    EXPECT_EQ(S_FALSE, formats->Next(0, got, &fetched));
    EXPECT_EQ(S_FALSE, formats->Next(1, nullptr, &fetched));
    EXPECT_EQ(S_FALSE, formats->Next(2, got, nullptr));
    EXPECT_EQ(S_OK, formats->Next(1, got, nullptr));
    EXPECT_EQ(CF_HDROP, got[0].cfFormat);
    EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), got[0].tymed);
    EXPECT_EQ(-1, got[0].lindex);
    EXPECT_EQ(S_FALSE, formats->Next(1, got, &fetched)); // none left

    EXPECT_EQ(S_OK, formats->Reset());
    EXPECT_EQ(S_FALSE, formats->Next(2, got, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(S_OK, formats->Reset());
    EXPECT_EQ(S_FALSE, formats->Skip(2));
    EXPECT_EQ(S_OK, formats->Skip(1));

    IEnumFORMATETC* clone = nullptr;
    EXPECT_EQ(S_FALSE, formats->Clone(nullptr));
    ASSERT_EQ(S_OK, formats->Clone(&clone));
    EXPECT_EQ(S_FALSE, clone->Next(1, got, nullptr)); // at the same position
    clone->Reset();
    EXPECT_EQ(S_OK, clone->Next(1, got, nullptr));
    EXPECT_EQ(0u, clone->Release());

    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, formats->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    unknown->Release();
    EXPECT_EQ(E_NOINTERFACE,
              formats->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(0u, formats->Release());
}

TEST(DragDropSource, DropsWhenTheButtonIsUpAndCancelsOnEsc) {
    IDropSource* source = CreateDragDropSource();
    EXPECT_EQ(DRAGDROP_S_CANCEL, source->QueryContinueDrag(TRUE, MK_LBUTTON));
    EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON));
    EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, 0));
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, source->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&unknown)));
    unknown->Release();
    EXPECT_EQ(E_NOINTERFACE,
              source->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(0u, source->Release());
}

// The mouse button is not down in the test, so the drag drops on the window
// under the mouse at once.
TEST(DragOut, AThousandLongNamesArriveWhole) {
    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    {
        DropWindow window;
        ASSERT_TRUE(window.ready());
        std::vector<std::string> names;
        for (int i = 0; i < 1000; ++i)
            names.push_back("C:\\Drawings, Site & Plans\\sheet " + std::to_string(i) +
                            ", rev A.dwg");
        IDataObject* data = DataWithFiles(names);
        IDropSource* source = CreateDragDropSource();
        DWORD effect = 0;
        EXPECT_EQ(DRAGDROP_S_DROP,
                  DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect));
        EXPECT_EQ(1, window.target.drops);
        EXPECT_EQ(names, window.target.names);
        EXPECT_EQ(0u, data->Release()); // every reference taken was given back
        EXPECT_EQ(0u, source->Release());
    }
    OleUninitialize();
}

TEST_F(MainWindowTest, DraggingSelectedRowsHandsOverTheirPaths) {
    ScratchFolder folder;
    std::vector<std::string> names = {"a,b.dwg", "c & d.dwg", "e f.dwg", "left.dwg"};
    for (const std::string& name : names)
        ASSERT_TRUE(WriteBytes(folder.file(name), "AC1015"));
    ListFolder(Unslashed(folder.path()));
    std::vector<std::string> rows = Column(2);
    ASSERT_EQ(4u, rows.size());
    std::vector<std::string> expected;
    for (int row = 0; row < 4; ++row) {
        if (rows[row] == "left.dwg") continue;
        ListView_SetItemState(Win.list, row, LVIS_SELECTED, LVIS_SELECTED);
        expected.push_back(folder.file(rows[row]));
    }

    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    {
        DropWindow window;
        ASSERT_TRUE(window.ready());
        NMLISTVIEW begin = {};
        begin.hdr.hwndFrom = Win.list;
        begin.hdr.idFrom = ID_FILE_LIST;
        begin.hdr.code = LVN_BEGINDRAG;
        begin.iItem = 0;
        EXPECT_EQ(
            1, SendMessageA(Win.main, WM_NOTIFY, ID_FILE_LIST, reinterpret_cast<LPARAM>(&begin)));
        EXPECT_EQ(1, window.target.drops);
        EXPECT_EQ(expected, window.target.names);

        // Nothing selected: no drag.
        DeselectAllRows();
        DragSelectionOut(Win.list);
        EXPECT_EQ(1, window.target.drops);
    }
    OleUninitialize();
}

// Exactly the selected files, whole however long; a row whose name would be
// a wildcard to the receiver is left out with a word, never handed over.
TEST_F(MainWindowTest, DraggingOutHandsOverExactlyTheSelectedFilesAndRelistsAfterAMove) {
    ScratchFolder folder;
    std::string longName = std::string(248, 'n') + ".dwg";
    for (const std::string& name : {longName, std::string("ab.dwg"), std::string("kept.dwg")})
        ASSERT_TRUE(WriteBytes(folder.file(name), "AC1015"));
    ListFolder(Unslashed(folder.path()));
    ASSERT_EQ((std::vector<std::string>{"ab.dwg", "kept.dwg", longName}), Column(2));
    SetRowText(0, 2, "??.dwg"); // as a name the code page cannot hold reads
    for (int row : {0, 2})
        ListView_SetItemState(Win.list, row, LVIS_SELECTED, LVIS_SELECTED);

    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    {
        DialogAnswerer answers;
        answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
        DropWindow window;
        ASSERT_TRUE(window.ready());
        window.target.takesFiles = true;
        DragSelectionOut(Win.list);
        EXPECT_EQ("These files cannot be acted on:\r\n??.dwg holds a character Windows does "
                  "not allow in names",
                  answers.Seen(0).text);
        EXPECT_EQ(1, window.target.drops);
        EXPECT_EQ(std::vector<std::string>{folder.file(longName)}, window.target.names);
    }
    OleUninitialize();
    EXPECT_EQ((std::vector<std::string>{"ab.dwg", "kept.dwg"}), Column(2));
}

TEST(ListDropMenu, OffersCopyMoveAndCancel) {
    HMENU menu = BuildListDropMenu("Z:\\plans\\");
    ASSERT_EQ(4, GetMenuItemCount(menu));
    const struct {
        UINT id;
        const char* text;
    } items[] = {{IDM_DROP_COPY, "C&opy To Z:\\plans\\"},
                 {IDM_DROP_MOVE, "&Move To Z:\\plans\\"},
                 {0, ""},
                 {IDM_LIST_DROP_CANCEL, "Cancel"}};
    for (int i = 0; i < 4; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(items[i].text, std::string(text)) << i;
        EXPECT_EQ(items[i].id, GetMenuItemID(menu, i)) << i;
    }
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
    DestroyMenu(menu);
}

class ListDropTest : public MainWindowTest {
  protected:
    // Drops the files on the list as the system does, by posting, and then
    // the keys that pick from the menu that opens.
    static void Drop(const std::vector<std::string>& files, const std::vector<WPARAM>& keys) {
        PostMessageA(Win.list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
        for (WPARAM key : keys)
            PostMessageA(Win.list, WM_KEYDOWN, key, 0);
    }

    void SetUp() override {
        MainWindowTest::SetUp();
        CreateDirectoryA(source.file("in").c_str(), nullptr);
        for (const std::string& name : names) {
            ASSERT_TRUE(WriteBytes(source.file("in\\" + name), "AC1015"));
            files.push_back(source.file("in\\" + name));
        }
        ListFolder(Unslashed(target.path()));
    }

    bool AllIn(const std::string& folder) const {
        return std::all_of(names.begin(), names.end(),
                           [&](const std::string& name) { return PathExists(folder + name); });
    }
    bool NoneIn(const std::string& folder) const {
        return std::none_of(names.begin(), names.end(),
                            [&](const std::string& name) { return PathExists(folder + name); });
    }
    bool Listed() const {
        std::vector<std::string> rows = Column(2);
        std::sort(rows.begin(), rows.end());
        return rows == names;
    }

    ScratchFolder source, target;
    std::vector<std::string> names = {"a,b.dwg", "c & d.dwg", "e f.dwg"}; // sorted
    std::vector<std::string> files;
};

TEST_F(ListDropTest, CopyPutsTheFilesInTheListedFolderAndRelists) {
    Drop(files, {VK_DOWN, VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return Listed(); }));
    EXPECT_TRUE(AllIn(target.path()));
    EXPECT_TRUE(AllIn(source.file("in\\")));
}

TEST_F(ListDropTest, MoveTakesTheFilesAwayFromWhereTheyWere) {
    Drop(files, {VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return Listed(); }));
    EXPECT_TRUE(AllIn(target.path()));
    EXPECT_TRUE(NoneIn(source.file("in\\")));
}

TEST_F(ListDropTest, CancelOrEscLeavesEverythingAsItWas) {
    Drop(files, {VK_UP, VK_RETURN}); // up from nothing: the last entry, "Cancel"
    Drop(files, {VK_ESCAPE});
    Drop({}, {});
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(NoneIn(target.path()));
    EXPECT_TRUE(AllIn(source.file("in\\")));
    EXPECT_TRUE(Column(2).empty());
}

// Wine's shell takes several seconds for this many.
TEST_F(ListDropTest, AThousandFilesAreCopiedAtOnce) {
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i) {
        std::string path = source.file("in\\note, " + std::to_string(i) + " & more.txt");
        ASSERT_TRUE(WriteBytes(path, "x"));
        many.push_back(path);
    }
    Drop(many, {VK_DOWN, VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return PathExists(target.file("note, 999 & more.txt")); }));
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(PathExists(target.file("note, " + std::to_string(i) + " & more.txt"))) << i;
}

} // namespace
