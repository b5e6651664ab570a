// Dialog templates built in memory, laid out in WORDs as the dialog manager
// reads them: the header (style, position, size, title, font) and the items.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Class atoms of the standard controls a template item can name.
const WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

// One template: Header once, then one Item per control; Get hands it over.
class DialogTemplate {
  public:
    void Header(DWORD style, WORD items, short x, short y, short cx, short cy,
                const std::string& title, WORD points, const char* face) {
        Dword(style);
        Dword(0); // extended style
        words_.push_back(items);
        Coordinates(x, y, cx, cy);
        words_.push_back(0); // no menu
        words_.push_back(0); // the standard dialog class
        Text(title);
        words_.push_back(points);
        Text(face);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
              const std::string& text) {
        while (words_.size() % 2)
            words_.push_back(0); // items start on a DWORD boundary
        Dword(style);
        Dword(0);
        Coordinates(x, y, cx, cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        Text(text);
        words_.push_back(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void Coordinates(short x, short y, short cx, short cy) {
        for (short v : {x, y, cx, cy})
            words_.push_back(static_cast<WORD>(v));
    }
    void Text(const std::string& s) {
        int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
        size_t at = words_.size();
        words_.resize(at + static_cast<size_t>(n > 0 ? n : 1), 0);
        if (n > 0)
            MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, reinterpret_cast<wchar_t*>(&words_[at]),
                                n);
    }
    // WORD storage keeps the template WORD aligned; DWORD fields are written
    // as two WORDs so no stricter alignment is needed.
    std::vector<WORD> words_;
};
