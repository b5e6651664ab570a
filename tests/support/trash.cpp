#include "tests/support/trash.h"

#include <cstdlib>

std::string TrashFilesFolder() {
    // Wine names the Unix home as an NT path: \??\Z:\home\user.
    const char* home = std::getenv("WINEHOMEDIR");
    if (!home) return "";
    std::string path = home;
    if (path.compare(0, 4, "\\??\\") == 0) path.erase(0, 4);
    return path + "\\.local\\share\\Trash\\files\\";
}
