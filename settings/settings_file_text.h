// The settings file's text in memory. A user may save KVX.ini from an editor
// as UTF-8 with a byte-order mark or as UTF-16, with a mark or without; the
// program reads it and writes it back in the same form.
#pragma once
#include <string>

enum class SettingsEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct SettingsText {
    SettingsEncoding encoding = SettingsEncoding::Ansi;
    // UTF-16 found without a byte-order mark, and so written back.
    bool withoutMark = false;
    // The lines, without a byte-order mark: the file's own bytes for an ANSI
    // file, UTF-8 for the others, so that no character is lost on the way.
    std::string lines;
};

// The file's bytes to its text and back. A file without a byte-order mark is
// UTF-16 when its pairs of bytes say so (see the source), else ANSI, written
// back byte for byte where nothing changed.
SettingsText DecodeSettingsFile(const std::string& bytes);
std::string EncodeSettingsFile(const SettingsText& text);

// A program text (the ANSI code page) as the lines spell it, and back. With
// UTF-8 as the program's code page, a value of a file without a mark that is
// not UTF-8 was written in the user's legacy code page and is read in it.
std::string ToSettingsLines(SettingsEncoding encoding, const std::string& ansi);
std::string FromSettingsLines(SettingsEncoding encoding, const std::string& text);
