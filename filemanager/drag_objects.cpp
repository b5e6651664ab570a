#include "filemanager/drag_objects.h"

#include <shlobj.h>
#include <urlmon.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/long_paths.h"

HGLOBAL MakeFileDropBlock(const std::vector<std::string>& paths) {
    // Wide names, as the shell hands them over: a receiver in any code page
    // reads them as they are. Each name with its NUL, then one more NUL; an
    // empty list still ends in two.
    std::vector<std::wstring> names;
    size_t size = sizeof(DROPFILES) + (paths.empty() ? 2 : 1) * sizeof(wchar_t);
    for (const std::string& path : paths) {
        names.push_back(WideFromAnsi(path));
        size += (names.back().size() + 1) * sizeof(wchar_t);
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    auto header = static_cast<DROPFILES*>(GlobalLock(block));
    if (!header) {
        GlobalFree(block);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto list = reinterpret_cast<unsigned char*>(header) + sizeof(DROPFILES);
    for (const std::wstring& name : names) {
        std::memcpy(list, name.data(), name.size() * sizeof(wchar_t));
        list += (name.size() + 1) * sizeof(wchar_t); // zero-filled: the NUL is there
    }
    GlobalUnlock(block);
    return block;
}

FORMATETC FileDropFormat() {
    FORMATETC format = {};
    format.cfFormat = CF_HDROP;
    format.ptd = nullptr;
    format.dwAspect = DVASPECT_CONTENT;
    format.lindex = -1;
    format.tymed = TYMED_HGLOBAL;
    return format;
}

// A format record whose target device is its own: receivers free the target
// devices of the records they are given, and stored ones are freed with them.
static bool CopyFormat(FORMATETC& to, const FORMATETC& from) {
    to = from;
    if (!from.ptd) return true;
    to.ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(from.ptd->tdSize));
    if (!to.ptd) return false;
    std::memcpy(to.ptd, from.ptd, from.ptd->tdSize);
    return true;
}

static void FreeFormats(FORMATETC* formats, ULONG count) {
    for (ULONG i = 0; i < count; ++i)
        CoTaskMemFree(formats[i].ptd);
    std::free(formats);
}

// Grows a plain array by one element; false (and the array unchanged) when
// memory runs out, which SetData must be able to report.
template <typename T> static bool GrowByOne(T*& array, ULONG count) {
    void* grown = std::realloc(array, (count + 1) * sizeof(T));
    if (!grown) return false;
    array = static_cast<T*>(grown);
    return true;
}

// ---- Reference counting ----------------------------------------------------

// What the three objects share: one interface besides IUnknown and a count of
// references; the last Release deletes the object, whose destructor frees
// what it owns.
template <typename Derived, typename Interface> class ComObject : public Interface {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

  private:
    LONG refs_ = 1;
};

// ---- Format enumerator -----------------------------------------------------

class FormatEnumerator final : public ComObject<FormatEnumerator, IEnumFORMATETC> {
  public:
    FormatEnumerator(FORMATETC* formats, ULONG count, ULONG position)
        : formats_(formats), count_(count), position_(position) {}
    ~FormatEnumerator() { FreeFormats(formats_, count_); }

    HRESULT STDMETHODCALLTYPE Next(ULONG n, FORMATETC* out, ULONG* fetched) override {
        if (n == 0 || !out || position_ >= count_ || (!fetched && n != 1)) return S_FALSE;
        ULONG copied = 0;
        while (copied < n && position_ < count_) {
            if (!CopyFormat(out[copied], formats_[position_])) break;
            ++copied;
            ++position_;
        }
        if (fetched) *fetched = copied;
        return copied == n ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override {
        if (count_ - position_ < n) return S_FALSE;
        position_ += n;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override {
        if (!out) return S_FALSE;
        *out = CreateFormatEnumerator(formats_, count_, position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

  private:
    FORMATETC* formats_;
    ULONG count_;
    ULONG position_;
};

IEnumFORMATETC* CreateFormatEnumerator(const FORMATETC* formats, ULONG count, ULONG position) {
    auto copy = static_cast<FORMATETC*>(std::calloc(count ? count : 1, sizeof(FORMATETC)));
    if (!copy) return nullptr;
    for (ULONG i = 0; i < count; ++i)
        if (!CopyFormat(copy[i], formats[i])) {
            FreeFormats(copy, i);
            return nullptr;
        }
    auto enumerator = new (std::nothrow) FormatEnumerator(copy, count, position);
    if (!enumerator) FreeFormats(copy, count);
    return enumerator;
}

// ---- Data object -------------------------------------------------------------

class DragDataObject final : public ComObject<DragDataObject, IDataObject> {
  public:
    // The object owns what it stores: the mediums and both arrays go with it.
    ~DragDataObject() {
        for (ULONG i = 0; i < count_; ++i)
            ReleaseStgMedium(&mediums_[i]);
        std::free(mediums_);
        FreeFormats(formats_, count_);
    }

    // The copy handed out is the receiver's: its release frees the copy.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        for (ULONG i = 0; i < count_; ++i) {
            const FORMATETC& stored = formats_[i];
            if ((stored.tymed & format->tymed) && stored.dwAspect == format->dwAspect &&
                stored.cfFormat == format->cfFormat && stored.lindex == format->lindex) {
                HRESULT result = CopyStgMedium(&mediums_[i], medium);
                // A release object would keep the receiver from freeing its
                // copy of the memory; the copy needs none.
                if (SUCCEEDED(result) && medium->tymed == TYMED_HGLOBAL && medium->pUnkForRelease) {
                    medium->pUnkForRelease->Release();
                    medium->pUnkForRelease = nullptr;
                }
                return result;
            }
        }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return DV_E_FORMATETC;
        if (!(format->dwAspect & DVASPECT_CONTENT)) return DV_E_DVASPECT;
        HRESULT answer = DV_E_TYMED;
        for (ULONG i = 0; i < count_; ++i) {
            if (!(formats_[i].tymed & format->tymed)) {
                answer = DV_E_TYMED;
            } else if (formats_[i].cfFormat == format->cfFormat) {
                return S_OK;
            } else {
                answer = DV_E_CLIPFORMAT;
            }
        }
        return answer;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
        if (!format || !medium) return E_INVALIDARG;
        if (!GrowByOne(formats_, count_) || !GrowByOne(mediums_, count_)) return E_OUTOFMEMORY;
        STGMEDIUM kept = {};
        if (release) {
            kept = *medium;
        } else if (FAILED(CopyStgMedium(medium, &kept))) {
            return E_OUTOFMEMORY;
        }
        if (!CopyFormat(formats_[count_], *format)) {
            if (!release) ReleaseStgMedium(&kept);
            return E_OUTOFMEMORY;
        }
        mediums_[count_] = kept;
        ++count_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        if (direction != DATADIR_GET) return OLE_S_USEREG;
        *out = CreateFormatEnumerator(formats_, count_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

  private:
    ULONG count_ = 0;
    FORMATETC* formats_ = nullptr;
    STGMEDIUM* mediums_ = nullptr;
};

IDataObject* CreateDragDataObject() {
    return new (std::nothrow) DragDataObject;
}

// ---- Drop source -------------------------------------------------------------

class DragDropSource final : public ComObject<DragDropSource, IDropSource> {
  public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        if (keys & MK_LBUTTON) return S_OK;
        return DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

IDropSource* CreateDragDropSource() {
    return new (std::nothrow) DragDropSource;
}
