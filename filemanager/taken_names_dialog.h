// The question asked once for a copy or move whose files find their names
// taken in the destination folder.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "filemanager/transfer_plan.h"

// Asks what to do with the taken names; Cancel when the box is closed.
TakenNameChoice AskAboutTakenNames(HWND owner, const std::vector<std::string>& names,
                                   const std::string& folder, bool move);
