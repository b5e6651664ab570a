#include "ui/command_line.h"

#include <windows.h>

std::string ArgumentsText(const std::string& commandLine) {
    size_t pos;
    if (!commandLine.empty() && commandLine[0] == '"') {
        pos = commandLine.find('"', 1);
        if (pos != std::string::npos) ++pos;
    } else {
        pos = commandLine.find(' ');
    }
    if (pos == std::string::npos) return std::string();
    while (pos < commandLine.size() && commandLine[pos] == ' ')
        ++pos;
    return commandLine.substr(pos);
}

std::string UnquotedArguments(const std::string& arguments) {
    size_t last = arguments.find_last_not_of(' ');
    if (last != std::string::npos && last > 0 && arguments[0] == '"' && arguments[last] == '"')
        return arguments.substr(1, last - 1);
    return arguments;
}

std::string CommandLineArguments() {
    const char* line = GetCommandLineA();
    return UnquotedArguments(ArgumentsText(line ? line : ""));
}
