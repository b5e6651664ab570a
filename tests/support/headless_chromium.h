// Loading a page in headless Chromium (Debian's "chromium") from a test under
// Wine, to check what a real browser makes of the pages Korvex writes.
#pragma once
#include <string>

bool ChromiumInstalled();

// Loads the page (a Windows path) with local file access allowed, in a fresh
// profile, and returns its DOM as serialised after the load event; "" when
// the browser did not run or printed nothing.
std::string ChromiumDom(const std::string& windowsPagePath);

// Saves a picture of the page (a Windows path) as a PNG file (a Linux path).
bool ChromiumScreenshot(const std::string& windowsPagePath, const std::string& unixPngPath,
                        int width, int height);
