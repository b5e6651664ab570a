#include "filemanager/file_rules.h"

#include "runtime/file_facts.h"
#include "runtime/strings.h"

static bool HoldsForbiddenCharacter(const std::string& name) {
    for (unsigned char c : name)
        if (c < 32 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
            return true;
    return false;
}

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with any extension: the system
// opens the device, whatever folder the name is in.
static bool IsDeviceName(const std::string& name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

std::string NameProblem(const std::string& name) {
    if (name.empty()) return "has no name";
    if (HoldsForbiddenCharacter(name)) return "holds a character Windows does not allow in names";
    if (name.back() == '.' || name.back() == ' ')
        return "ends in a dot or a space, which Windows drops from names";
    if (IsDeviceName(name)) return "is a name Windows keeps for a device";
    return "";
}

bool IsActionableName(const std::string& name) {
    return NameProblem(name).empty();
}

std::string FolderNameProblem(const std::string& name) {
    std::string problem = NameProblem(name);
    if (problem.empty() || name.empty()) return problem.empty() ? "" : "A folder needs a name.";
    return "\"" + name + "\" " + problem + ".";
}

std::string SourceList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += path;
        list += '\0';
    }
    list += '\0';
    return list;
}

bool HasDrawingExtension(const std::string& path) {
    std::string extension = Upper(Right(path, 4));
    return extension == ".DWG" || extension == ".DWT" || extension == ".BAK" || extension == ".SV$";
}

bool IsBackupName(const std::string& name) {
    return Right(Lower(name), 3) == "bak";
}

std::string OpenItemText(const std::string& name, int selected) {
    if (selected == 1) return "&Open " + MenuItemText(FileNamePart(name));
    return "&Open " + std::to_string(selected) + " Selected Files";
}

std::string ZipItemText(const std::string& name) {
    std::string file = FileNamePart(name);
    return "Create " + MenuItemText(file.substr(0, file.size() >= 3 ? file.size() - 3 : 0)) + "zip";
}

std::string TargetItemText(const std::string& shown, const std::string& folder) {
    if (shown != "TRUE") return std::string();
    std::string text = WithTrailingBackslash(folder);
    return text == "\\" ? std::string() : MenuItemText(text);
}
