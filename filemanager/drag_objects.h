// What a drag out of the file list hands to the receiver: the file-drop block
// and the three small COM objects that carry it (a data object, a drop source
// and a format enumerator).
#pragma once
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

// A movable, zero-filled CF_HDROP block: the 20-byte header, each path with
// its NUL, and one more NUL. The names are wide (UTF-16), so that receivers
// in every code page read them. Null when memory runs out.
HGLOBAL MakeFileDropBlock(const std::vector<std::string>& paths);

// The format record stored with a file-drop block.
FORMATETC FileDropFormat();

// New objects with a reference count of 1; null when memory runs out.
IDataObject* CreateDragDataObject();
IDropSource* CreateDragDropSource();
// An enumerator over its own copy of the formats, starting at position.
IEnumFORMATETC* CreateFormatEnumerator(const FORMATETC* formats, ULONG count, ULONG position = 0);
