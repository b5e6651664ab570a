// Reaching the Unix system under Wine from a test, for files Windows cannot
// make itself (names with characters it forbids, symbolic links).
#pragma once
#include <functional>
#include <string>

#include "tests/support/unix_command.h"
// Runs a program of the Unix system under Wine ("Z:\\bin\\cp ...") and waits
// for it.
void RunUnix(std::string line);
// Waits up to ten seconds for a Unix program's effect: Wine may report such a
// program ended before it has run.
bool EventuallyTrue(const std::function<bool()>& done);
