#include "export/listing_wait.h"

#include <windows.h>

#include "runtime/app_state.h"
#include "runtime/win_helpers.h"

bool RefusedWhileListing() {
    if (!ListingActive) return false;
    ShowMessage("The folder is still being listed.\r\n\r\n"
                "Please try again when the listing is complete, so that every file is included.",
                "Korvex", MB_OK | MB_ICONINFORMATION);
    return true;
}
