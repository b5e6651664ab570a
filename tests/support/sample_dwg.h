// Where the shared real drawings are, when the run provides them.
#pragma once
#include <string>

// The folder of real drawings (Windows path, trailing backslash), or "" when
// this run has none.
std::string SampleDrawingFolder();
