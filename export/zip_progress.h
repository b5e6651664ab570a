// Progress and Cancel for the one-file zip of the list's context menu.
#pragma once
#include <string>

// Packs the one file into the archive, showing a modal window with a progress
// bar and Cancel over the main window; returns when the run has ended.
void ShowZipProgress(const std::string& archivePath, const std::string& name);
