// Progress and Cancel for the one-file zip of the list's context menu.
#pragma once
#include <string>

#include "export/zip_run.h"

// Packs the one file into the begun archive, showing a modal window with a progress
// bar and Cancel over the main window; returns when the run has ended.
void ShowZipProgress(ArchiveWrite& archive, const std::string& name);
