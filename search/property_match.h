// Whether a drawing's properties hold a text, for the sub-folder search.
// Free of window calls.
#pragma once
#include <string>

#include "inspect/drawing_properties.h"

// True when any property, its name or its value for custom ones, contains
// the text, letter case ignored in every script. An empty text is in all.
bool PropertiesContain(const DrawingProperties& props, const std::string& text);
