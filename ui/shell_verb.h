// The "Browse with KVX" entry of the file manager's folder menu: a verb under
// the folder class in the machine-wide class registry.
#pragma once
#include <string>

// Registry key of the verb's command, below HKEY_CLASSES_ROOT.
extern const char* const kBrowseVerbKey;
extern const char* const kBrowseVerbCommandKey;

// The verb's command for a program: its path in double quotes, so that a
// folder with blanks in the path is not split, then " %1".
std::string BrowseVerbCommand(const std::string& programPath);

// Writes and removes the verb for this executable. Failures (no rights) are
// silent.
void RegisterBrowseVerb();
void RemoveBrowseVerb();

// The Tools menu's commands. Where user account control guards the class
// registry, the program (its path from the work paths) is started elevated
// with "SHELLON" or "SHELLOFF" and not waited for; elsewhere the verb is
// edited here.
void EnableShellIntegration();
void DisableShellIntegration();

// The command-line switches: "SHELLON" (looked for first) or "SHELLOFF"
// anywhere in the arguments text edits the verb. True when one did, and the
// process is to end.
bool RunShellSwitch(const std::string& arguments);
