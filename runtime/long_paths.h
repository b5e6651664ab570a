// Paths of MAX_PATH characters and more, which the byte-string calls refuse,
// reached through the wide calls in their "\\?\" form. Shorter paths go to
// the byte-string calls unchanged.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

// A program text (the ANSI code page: UTF-8 where the system honours the
// program's manifest) as UTF-16, and back; whole however long.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const wchar_t* text);

bool IsLongPath(const std::string& path);
// The full wide path with the "\\?\" (or "\\?\UNC\") prefix.
std::wstring LongPathForm(const std::string& path);
// The attribute word of a path; INVALID_FILE_ATTRIBUTES when unreadable.
DWORD FileAttributesOf(const std::string& path);
// fopen for a path of any length.
std::FILE* OpenFileStream(const std::string& path, const char* mode);
// DeleteFileA for a path of any length.
bool DeleteFileOf(const std::string& path);
// An existing file of a path of any length opened for reading, shared with
// readers and writers (as fopen shares it); INVALID_HANDLE_VALUE on failure.
HANDLE OpenForReading(const std::string& path, DWORD flags = FILE_ATTRIBUTE_NORMAL);
// A path short enough for every byte-string call: the path itself, or its
// 8.3 short form when it is too long and the file system has one.
std::string UsablePath(const std::string& path);
// Whether the folder, with a trailing backslash, fits the MAX_PATH buffers
// the shell and the current directory keep paths in.
bool FitsShellBuffers(const std::string& folder);
// The full path of a path of any length, without the "\\?\" prefix.
std::string FullPath(const std::string& path);
