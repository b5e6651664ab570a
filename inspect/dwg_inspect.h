// Reading a drawing on disk: its release text and its embedded preview.
#pragma once
#include <string>

// The release text of a drawing that does not exist.
constexpr const char kFileNotFoundVersion[] = "File Not Found";

// DwgVersion text of the drawing at path ("File Not Found" when it does not
// exist). Sets PreviewSupported for the release.
std::string ReadDwgVersion(const std::string& path);

// Writes the drawing's first code-2 bitmap, with a file header, to the
// temporary preview bitmap path, or, when the drawing has no bitmap entry, its
// PNG preview decoded into a 24-bit bitmap; afterwards that file exists
// exactly when a preview was found. Sets PreviewIs8Bit when one is found.
// Returns the bytes written, empty when there was no preview.
std::string ExtractPreview(const std::string& path);

// What one read of a drawing gives its row in the list.
struct DrawingRead {
    std::string version; // as ReadDwgVersion gives it
    std::string preview; // as ExtractPreview gives it, when asked for
    // What the read has to tell the program's flags and its error stream.
    bool previewSupported = true;
    signed char previewIs8Bit = -1; // no preview found: the flag stays as it is
    bool unreadable = false;        // there, but it could not be opened
};

// ReadDwgVersion and, withPreview, ExtractPreview in one opening of the
// drawing, with the same effects; a drawing that is not there leaves the
// preview file alone.
DrawingRead ReadDrawing(const std::string& path, bool withPreview);
// The read alone, without any of its effects: safe on any thread.
DrawingRead ReadDrawingAlone(const std::string& path, bool withPreview);
// The effects of ReadDrawing for a read made by ReadDrawingAlone.
void TakeDrawingRead(const std::string& path, const DrawingRead& read, bool withPreview);
