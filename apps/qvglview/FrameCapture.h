#pragma once

#include <cstdint>
#include <vector>

// The frame just drawn, read from the current OpenGL context: width x height pixels from the
// bottom-left corner, as red, green, blue bytes in rows from the top. Read from the back buffer
// after the frame was shown: the software rasterisers this runs on keep it (their front buffer
// is not the window), which makes the capture independent of what covers the window.
std::vector<std::uint8_t> CaptureFrame(int width, int height);
