#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tinygltf
{
class Model;
}

// One accessor of a glTF model, checked before any element is read: its buffer view and buffer
// exist, the view lies inside its buffer, the stride holds an element, and the last element ends
// inside the view, all in arithmetic that cannot overflow. The parser checks none of this, so a
// file whose counts or offsets lie must be caught here. Accessors without a buffer view read as
// zeros, as glTF says; sparse accessors are refused.
class GltfAccessor
{
public:
    // Checks accessor `index` of model for `components` components (1 for SCALAR, 2 for VEC2,
    // 3 for VEC3) of one of the component types whose bits are set in allowedTypes (bit 0: BYTE,
    // bit 1: UNSIGNED_BYTE, ..., bit 6: FLOAT, in the order of their codes 5120 to 5126). False,
    // with error set, for anything that cannot be read safely; what names the accessor
    // ("POSITION", "indices") goes into the message.
    bool Open(const tinygltf::Model& model, int index, int components, unsigned allowedTypes,
              const char* what, std::string& error);

    std::size_t Count() const { return m_count; }
    // Component c of element i as a float: integer types normalised to 0..1 (unsigned) or -1..1
    // (signed), as glTF's normalised texture coordinates are.
    float Float(std::size_t i, int c) const;
    // Element i of an index accessor.
    std::uint32_t Index(std::size_t i) const;
    // The largest element of an index accessor (0 when empty): one pass with one type decision,
    // as a model of a million triangles has millions of indices to check.
    std::uint32_t LargestIndex() const;
    // Elements i, i + 1, i + 2 of an index accessor.
    void Triple(std::size_t i, std::uint32_t out[3]) const;
    // The three float components of element i of a VEC3 FLOAT accessor (zeros without data).
    void Vec3(std::size_t i, float out[3]) const;

    // The type bits of Open.
    static const unsigned kFloat = 1u << 6;
    static const unsigned kUnsignedByte = 1u << 1;
    static const unsigned kUnsignedShort = 1u << 3;
    static const unsigned kUnsignedInt = 1u << 5;

private:
    const unsigned char* m_data = nullptr;  // first element; null: zeros
    std::size_t m_count = 0;
    std::size_t m_stride = 0;
    int m_componentType = 0;
    bool m_normalised = false;
};
