#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A reader of 3D Studio files written for the tests, apart from the loader and in another way:
// it builds the whole chunk tree first (recursively, trusting well-formed files) and then takes
// the lists of the last object whose first sub-chunk is a triangle mesh. Used to check the
// loader against files that other programs made.
namespace tdsref
{
struct Node
{
    std::uint16_t id = 0;
    std::size_t data = 0;  // first byte after the header
    std::size_t end = 0;
    std::size_t childrenAt = 0;
    std::vector<Node> children;
};

struct Lists
{
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::array<std::uint16_t, 3>> faces;
    std::vector<std::array<float, 2>> pairs;
};

class Reader
{
public:
    explicit Reader(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    bool Empty() const { return m_bytes.empty(); }

    // The lists of the file's last mesh object.
    Lists LastMesh() const
    {
        Lists lists;
        const Node root = Parse(0);
        for (const Node& editor : root.children)
        {
            for (const Node& object : editor.id == 0x3D3D ? editor.children : std::vector<Node>{})
            {
                if (object.id == 0x4000 && !object.children.empty() &&
                    object.children.front().id == 0x4100)
                {
                    lists = ListsOf(object.children.front());
                }
            }
        }
        return lists;
    }

private:
    std::uint32_t Number(std::size_t at, int bytes) const
    {
        std::uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
        {
            value = (value << 8) | static_cast<unsigned char>(m_bytes.at(at + i));
        }
        return value;
    }

    float Float(std::size_t at) const
    {
        const std::uint32_t bits = Number(at, 4);
        float value;
        static_assert(sizeof value == sizeof bits, "32-bit floats");
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    Node Parse(std::size_t at) const
    {
        Node node;
        node.id = static_cast<std::uint16_t>(Number(at, 2));
        node.data = at + 6;
        node.end = at + Number(at + 2, 4);
        switch (node.id)
        {
        case 0x4D4D:
        case 0x3D3D:
        case 0x4100:
            node.childrenAt = node.data;
            break;
        case 0x4000:
            node.childrenAt = m_bytes.find('\0', node.data) + 1;
            break;
        default:
            return node;
        }
        for (std::size_t child = node.childrenAt; child < node.end;)
        {
            node.children.push_back(Parse(child));
            child = node.children.back().end;
        }
        return node;
    }

    Lists ListsOf(const Node& mesh) const
    {
        Lists lists;
        for (const Node& list : mesh.children)
        {
            const std::uint32_t count = Number(list.data, 2);
            for (std::uint32_t i = 0; i < count; ++i)
            {
                if (list.id == 0x4110)
                {
                    const std::size_t at = list.data + 2 + 12 * i;
                    lists.vertices.push_back({Float(at), Float(at + 4), Float(at + 8)});
                }
                else if (list.id == 0x4120)
                {
                    const std::size_t at = list.data + 2 + 8 * i;
                    lists.faces.push_back({static_cast<std::uint16_t>(Number(at, 2)),
                                           static_cast<std::uint16_t>(Number(at + 2, 2)),
                                           static_cast<std::uint16_t>(Number(at + 4, 2))});
                }
                else if (list.id == 0x4140)
                {
                    const std::size_t at = list.data + 2 + 8 * i;
                    lists.pairs.push_back({Float(at), Float(at + 4)});
                }
            }
        }
        return lists;
    }

    std::string m_bytes;
};
}  // namespace tdsref
