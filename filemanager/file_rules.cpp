#include "filemanager/file_rules.h"

#include "runtime/file_facts.h"
#include "runtime/strings.h"

static bool HoldsForbiddenCharacter(const std::string& name) {
    for (unsigned char c : name)
        if (c < 32 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
            return true;
    return false;
}

bool IsActionableName(const std::string& name) {
    return !name.empty() && Trim(name) == name && !HoldsForbiddenCharacter(name);
}

bool IsValidFolderName(const std::string& name) {
    return !name.empty() && !HoldsForbiddenCharacter(name);
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
