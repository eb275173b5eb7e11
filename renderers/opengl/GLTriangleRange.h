#pragma once

#include <cstdint>

// The index positions of a face group's range that can hold triangles: the range first to end
// walked in steps of 3 from first, without the positions outside an index array of indexCount
// entries. Empty (begin == end) when none is left.
struct GLTriangleRange
{
    std::int64_t begin;  // first position of the first triangle
    std::int64_t end;    // begin + 3 x the number of triangles

    static GLTriangleRange Of(std::int64_t first, std::int64_t end, std::int64_t indexCount)
    {
        // Triangles start at first + 3k; the first one at or after position 0.
        const std::int64_t begin = first >= 0 ? first : first + (-first + 2) / 3 * 3;
        const std::int64_t last = end < indexCount ? end : indexCount;
        if (last - begin < 3)
        {
            return {begin, begin};
        }
        return {begin, begin + (last - begin) / 3 * 3};
    }
};
