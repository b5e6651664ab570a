// Exports cover the whole list: none starts while a folder is being listed.
#pragma once

// True, after telling the user, while the file list is still being filled.
bool RefusedWhileListing();
