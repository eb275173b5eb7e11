#include "loaders/model/GltfAccessor.h"

#include "loaders/model/ModelLimits.h"

#include <tiny_gltf.h>

#include <cstring>

namespace
{
template <typename T>
T ReadAt(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
}  // namespace

bool GltfAccessor::Open(const tinygltf::Model& model, int index, int components,
                        unsigned allowedTypes, const char* what, std::string& error)
{
    const std::string name = std::string(what) + " accessor " + std::to_string(index);
    if (index < 0 || static_cast<std::size_t>(index) >= model.accessors.size())
    {
        error = name + " does not exist";
        return false;
    }
    const tinygltf::Accessor& accessor = model.accessors[static_cast<std::size_t>(index)];
    if (accessor.sparse.isSparse)
    {
        error = name + " is sparse; sparse accessors are not read";
        return false;
    }
    const int typeCode = accessor.componentType - TINYGLTF_COMPONENT_TYPE_BYTE;
    if (typeCode < 0 || typeCode > 6 || typeCode == 4 || (allowedTypes & (1u << typeCode)) == 0 ||
        tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(accessor.type)) != components)
    {
        error = name + " has a type or component type that cannot serve here";
        return false;
    }
    m_componentType = accessor.componentType;
    m_normalised = accessor.normalized;
    m_count = accessor.count;
    const std::size_t elementSize = static_cast<std::size_t>(components) *
                                    static_cast<std::size_t>(tinygltf::GetComponentSizeInBytes(
                                        static_cast<std::uint32_t>(m_componentType)));
    // An index accessor may hold three entries per triangle; nothing else more than a vertex each.
    if (m_count > 3 * model::kMaxTriangles)
    {
        error = name + " claims " + std::to_string(m_count) + " elements";
        return false;
    }
    m_data = nullptr;
    m_stride = elementSize;
    if (accessor.bufferView < 0)
    {
        return true;  // zeros
    }
    if (static_cast<std::size_t>(accessor.bufferView) >= model.bufferViews.size())
    {
        error = name + " names a buffer view that does not exist";
        return false;
    }
    const tinygltf::BufferView& view =
        model.bufferViews[static_cast<std::size_t>(accessor.bufferView)];
    if (view.buffer < 0 || static_cast<std::size_t>(view.buffer) >= model.buffers.size())
    {
        error = name + " names a buffer that does not exist";
        return false;
    }
    const std::vector<unsigned char>& buffer =
        model.buffers[static_cast<std::size_t>(view.buffer)].data;
    if (view.byteOffset > buffer.size() || view.byteLength > buffer.size() - view.byteOffset)
    {
        error = name + ": its buffer view reaches past the end of its buffer";
        return false;
    }
    if (view.byteStride != 0)
    {
        if (view.byteStride < elementSize)
        {
            error = name + ": its buffer view's stride is shorter than an element";
            return false;
        }
        m_stride = view.byteStride;
    }
    if (m_count > 0)
    {
        const std::size_t room = view.byteLength;
        if (accessor.byteOffset > room || elementSize > room - accessor.byteOffset ||
            (m_count - 1) > (room - accessor.byteOffset - elementSize) / m_stride)
        {
            error = name + "'s " + std::to_string(m_count) +
                    " elements reach past the end of its buffer view";
            return false;
        }
    }
    m_data = buffer.data() + view.byteOffset + accessor.byteOffset;
    return true;
}

float GltfAccessor::Float(std::size_t i, int c) const
{
    if (m_data == nullptr)
    {
        return 0.0f;
    }
    const unsigned char* at = m_data + i * m_stride;
    switch (m_componentType)
    {
    case TINYGLTF_COMPONENT_TYPE_FLOAT:
        return ReadAt<float>(at + 4 * c);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
        return m_normalised ? at[c] / 255.0f : at[c];
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        return m_normalised ? ReadAt<std::uint16_t>(at + 2 * c) / 65535.0f
                            : ReadAt<std::uint16_t>(at + 2 * c);
    default:
        return 0.0f;
    }
}

std::uint32_t GltfAccessor::Index(std::size_t i) const
{
    if (m_data == nullptr)
    {
        return 0;
    }
    const unsigned char* at = m_data + i * m_stride;
    switch (m_componentType)
    {
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
        return *at;
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        return ReadAt<std::uint16_t>(at);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        return ReadAt<std::uint32_t>(at);
    default:
        return 0;
    }
}

std::uint32_t GltfAccessor::LargestIndex() const
{
    std::uint32_t largest = 0;
    if (m_data == nullptr)
    {
        return largest;
    }
    const auto scan = [&](auto type)
    {
        using T = decltype(type);
        for (std::size_t i = 0; i < m_count; ++i)
        {
            const std::uint32_t value = ReadAt<T>(m_data + i * m_stride);
            largest = value > largest ? value : largest;
        }
    };
    switch (m_componentType)
    {
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
        scan(std::uint8_t());
        break;
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
        scan(std::uint16_t());
        break;
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        scan(std::uint32_t());
        break;
    default:
        break;
    }
    return largest;
}

void GltfAccessor::Triple(std::size_t i, std::uint32_t out[3]) const
{
    if (m_componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT && m_data != nullptr)
    {
        for (int k = 0; k < 3; ++k)
            out[k] = ReadAt<std::uint32_t>(m_data + (i + k) * m_stride);
        return;
    }
    for (int k = 0; k < 3; ++k)
        out[k] = Index(i + k);
}

void GltfAccessor::Vec3(std::size_t i, float out[3]) const
{
    if (m_data == nullptr)
    {
        out[0] = out[1] = out[2] = 0.0f;
        return;
    }
    std::memcpy(out, m_data + i * m_stride, 3 * sizeof(float));
}
