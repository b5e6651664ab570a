// Decoding a drawing's PNG preview with the system's imaging component.
#pragma once
#include <string>

#include "inspect/png_preview.h"

// The PNG data, already passed by CheckPngData (which gave `header`), decoded
// into a 24-bit bottom-up bitmap file (the layout of BlankBmp24). False when
// the system cannot decode it or it comes out at another size than declared.
bool DecodePngToBmp(const std::string& png, const PngHeader& header, std::string& bmp);
