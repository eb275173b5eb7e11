#include "gl/webgl/ImageScaling.h"

#include <cmath>
#include <cstddef>

int NearestPowerOfTwo(int size)
{
    if (size <= 0)
    {
        return 0;
    }
    unsigned value = static_cast<unsigned>(size);
    int power = 1;
    for (;;)
    {
        if (value == 1)
        {
            return power;
        }
        if (value == 3)
        {
            return power * 4;
        }
        value >>= 1;
        power *= 2;
    }
}

int PowerOfTwoAtLeast(int size)
{
    int power = 1;
    while (power < size && power < (1 << 30))
    {
        power *= 2;
    }
    return power;
}

bool IsPowerOfTwo(int size) { return size > 0 && (size & (size - 1)) == 0; }

Pixels ScaleBox(const Pixels& in, int width, int height, int components, int newWidth,
                int newHeight)
{
    Pixels out(static_cast<std::size_t>(newWidth) * newHeight * components);
    const float convY = static_cast<float>(height) / newHeight;
    const float convX = static_cast<float>(width) / newWidth;
    float totals[4];
    for (int i = 0; i < newHeight; ++i)
    {
        const float centreY = convY * (i + 0.5f);
        const float halfY = height > newHeight ? convY / 2 : 0.5f;
        const float lowY = centreY - halfY;
        const float highY = centreY + halfY;
        for (int j = 0; j < newWidth; ++j)
        {
            const float centreX = convX * (j + 0.5f);
            const float halfX = width > newWidth ? convX / 2 : 0.5f;
            const float lowX = centreX - halfX;
            const float highX = centreX + halfX;
            for (int k = 0; k < components; ++k)
            {
                totals[k] = 0.0f;
            }
            float area = 0.0f;
            float y = lowY;
            int yInt = static_cast<int>(std::floor(y));
            while (y < highY)
            {
                const int row = (yInt + height) % height;
                const float yPart = highY < yInt + 1 ? highY - y : yInt + 1 - y;
                float x = lowX;
                int xInt = static_cast<int>(std::floor(x));
                while (x < highX)
                {
                    const int column = (xInt + width) % width;
                    const float xPart = highX < xInt + 1 ? highX - x : xInt + 1 - x;
                    const float part = xPart * yPart;
                    area += part;
                    const std::size_t at =
                        (static_cast<std::size_t>(row) * width + column) * components;
                    for (int k = 0; k < components; ++k)
                    {
                        totals[k] += in[at + k] * part;
                    }
                    ++xInt;
                    x = static_cast<float>(xInt);
                }
                ++yInt;
                y = static_cast<float>(yInt);
            }
            const std::size_t to = (static_cast<std::size_t>(i) * newWidth + j) * components;
            for (int k = 0; k < components; ++k)
            {
                out[to + k] = static_cast<std::uint8_t>((totals[k] + 0.5f) / area);
            }
        }
    }
    return out;
}

Pixels ScaleLinear(const Pixels& in, int width, int height, int components, int newWidth,
                   int newHeight)
{
    Pixels out(static_cast<std::size_t>(newWidth) * newHeight * components);
    for (int i = 0; i < newHeight; ++i)
    {
        // Texel centre in the original's texel units, less a half: the four nearest texels.
        const double v = (i + 0.5) * height / newHeight - 0.5;
        const int y0 = static_cast<int>(std::floor(v));
        const double fy = v - y0;
        const int rows[2] = {(y0 % height + height) % height,
                             ((y0 + 1) % height + height) % height};
        for (int j = 0; j < newWidth; ++j)
        {
            const double u = (j + 0.5) * width / newWidth - 0.5;
            const int x0 = static_cast<int>(std::floor(u));
            const double fx = u - x0;
            const int columns[2] = {(x0 % width + width) % width,
                                    ((x0 + 1) % width + width) % width};
            for (int k = 0; k < components; ++k)
            {
                auto at = [&](int r, int c) {
                    return in[(static_cast<std::size_t>(rows[r]) * width + columns[c]) *
                                  components +
                              k];
                };
                const double value = (1 - fy) * ((1 - fx) * at(0, 0) + fx * at(0, 1)) +
                                     fy * ((1 - fx) * at(1, 0) + fx * at(1, 1));
                out[(static_cast<std::size_t>(i) * newWidth + j) * components + k] =
                    static_cast<std::uint8_t>(value + 0.5);
            }
        }
    }
    return out;
}

Pixels HalveImage(const Pixels& in, int width, int height, int components, int& newWidth,
                  int& newHeight)
{
    newWidth = width > 1 ? width / 2 : 1;
    newHeight = height > 1 ? height / 2 : 1;
    Pixels out(static_cast<std::size_t>(newWidth) * newHeight * components);
    // The two steps along each side, 0 along a side that does not shrink.
    const int stepX = width > 1 ? 1 : 0;
    const int stepY = height > 1 ? 1 : 0;
    const int taken = (stepX + 1) * (stepY + 1);
    for (int i = 0; i < newHeight; ++i)
    {
        for (int j = 0; j < newWidth; ++j)
        {
            const int x = j * (stepX + 1);
            const int y = i * (stepY + 1);
            for (int k = 0; k < components; ++k)
            {
                auto at = [&](int dy, int dx)
                {
                    return static_cast<int>(
                        in[(static_cast<std::size_t>(y + dy) * width + x + dx) * components + k]);
                };
                int sum = at(0, 0);
                if (stepX)
                    sum += at(0, 1);
                if (stepY)
                    sum += at(1, 0);
                if (stepX && stepY)
                    sum += at(1, 1);
                out[(static_cast<std::size_t>(i) * newWidth + j) * components + k] =
                    static_cast<std::uint8_t>((sum + taken / 2) / taken);
            }
        }
    }
    return out;
}
