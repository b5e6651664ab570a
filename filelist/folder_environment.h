// The listing rules' view of a real folder: wildcard enumeration, attribute
// words and shortcut targets, relative to the current directory.
#pragma once
#include <functional>

#include "filelist/listing_rules.h"

ListingEnvironment FolderEnvironment(std::function<bool()> beforeEntry);
