// Resizing a picture in memory by area averaging: each target pixel is the
// mean of the source pixels it covers, weighted by how much of each it
// covers. Shrinking this way keeps thin lines as lighter lines instead of
// dropping them. No window calls.
#pragma once
#include <cstdint>
#include <vector>

// `pixels` holds height rows of width 32-bit pixels (blue, green, red,
// unused), row after row; the result holds toHeight rows of toWidth pixels
// in the same form. All sizes must be positive.
std::vector<uint8_t> ScalePixelsByArea(const uint8_t* pixels, int width, int height, int toWidth,
                                       int toHeight);
// The same results without the processor's vector instructions, as on
// machines that lack them.
std::vector<uint8_t> ScalePixelsByAreaPlain(const uint8_t* pixels, int width, int height,
                                            int toWidth, int toHeight);
