#include "apps/qvglview/FrameCapture.h"

#include "gl/QVGL.h"

#include <cstddef>

std::vector<std::uint8_t> CaptureFrame(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp(row * static_cast<std::size_t>(height));
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y)
    {
        const std::size_t from = static_cast<std::size_t>(height - 1 - y) * row;
        const std::size_t to = static_cast<std::size_t>(y) * row;
        for (std::size_t i = 0; i < row; ++i)
            topDown[to + i] = bottomUp[from + i];
    }
    return topDown;
}
