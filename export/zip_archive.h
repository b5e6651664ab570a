// Zip archives of listed files, written with minizip.
#pragma once
#include <string>
#include <vector>

struct ZipSource {
    std::string path;      // file to pack
    std::string entryName; // name inside the archive
};

// Packs the files into a new archive (deflate, level 6, each entry dated with
// its file's modification time). False when the archive cannot be created or
// a file cannot be read or written.
bool WriteZipArchive(const std::string& zipPath, const std::vector<ZipSource>& files);

// Packs the one selected row's file into an archive named after it in the
// current folder (the list's context menu).
void ZipSelectedFile();
