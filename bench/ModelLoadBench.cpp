// Loading a glTF model of about a million triangles (a rippled sheet of 709 x 709 vertices with
// normals and texture coordinates, 32-bit indices, in one binary .glb that the benchmark writes):
//
// BM_LibraryParseOnly: the parser alone, LoadBinaryFromFile, given callbacks that read the file
//   whole as its own file access does (the loader's build turns that access off).
// BM_ModuleLoad: the loader module's whole Load into a mesh: reading, the same parse, the checks
//   of every accessor and index, flattening and filling the mesh. The goal is at most 1.2 times
//   the parse alone.
#include "loaders/model/QVModelLoader.h"
#include "scene/QVSGMesh.h"

#include <tiny_gltf.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{
const char kFile[] = "model-bench-sheet.glb";
const int kSide = 709;  // vertices per row; (kSide - 1)^2 * 2 = 1,002,528 triangles

template <typename T>
void Append(std::string& out, const std::vector<T>& values)
{
    out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

void WriteSheet()
{
    std::vector<float> positions, normals, uvs;
    for (int row = 0; row < kSide; ++row)
        for (int column = 0; column < kSide; ++column)
        {
            const float x = column / float(kSide - 1), z = row / float(kSide - 1);
            positions.insert(positions.end(), {x, 0.02f * std::sin(40 * x) * std::cos(30 * z), z});
            normals.insert(normals.end(), {0, 1, 0});
            uvs.insert(uvs.end(), {x, z});
        }
    std::vector<std::uint32_t> indices;
    for (int row = 0; row + 1 < kSide; ++row)
        for (int column = 0; column + 1 < kSide; ++column)
        {
            const std::uint32_t a = row * kSide + column, b = a + 1, c = a + kSide, d = c + 1;
            indices.insert(indices.end(), {a, c, b, b, c, d});
        }
    std::string bin;
    Append(bin, positions);
    Append(bin, normals);
    Append(bin, uvs);
    Append(bin, indices);
    const std::size_t p = positions.size() * 4, n = normals.size() * 4, t = uvs.size() * 4;
    const std::string count = std::to_string(kSide * kSide);
    std::string json =
        R"({"asset":{"version":"2.0"},"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
        R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"TEXCOORD_0":2},)"
        R"("indices":3}]}],"accessors":[)"
        R"({"bufferView":0,"componentType":5126,"count":)" +
        count +
        R"(,"type":"VEC3"},)"
        R"({"bufferView":1,"componentType":5126,"count":)" +
        count +
        R"(,"type":"VEC3"},)"
        R"({"bufferView":2,"componentType":5126,"count":)" +
        count +
        R"(,"type":"VEC2"},)"
        R"({"bufferView":3,"componentType":5125,"count":)" +
        std::to_string(indices.size()) +
        R"(,"type":"SCALAR"}],"bufferViews":[)"
        R"({"buffer":0,"byteLength":)" +
        std::to_string(p) +
        "},"
        R"({"buffer":0,"byteOffset":)" +
        std::to_string(p) + R"(,"byteLength":)" + std::to_string(n) +
        "},"
        R"({"buffer":0,"byteOffset":)" +
        std::to_string(p + n) + R"(,"byteLength":)" + std::to_string(t) +
        "},"
        R"({"buffer":0,"byteOffset":)" +
        std::to_string(p + n + t) + R"(,"byteLength":)" + std::to_string(indices.size() * 4) +
        R"(}],"buffers":[{"byteLength":)" + std::to_string(bin.size()) + "}]}";
    json.append((4 - json.size() % 4) % 4, ' ');
    std::ofstream out(kFile, std::ios::binary);
    const std::uint32_t header[5] = {0x46546C67, 2, std::uint32_t(28 + json.size() + bin.size()),
                                     std::uint32_t(json.size()), 0x4E4F534A};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out << json;
    const std::uint32_t binHeader[2] = {std::uint32_t(bin.size()), 0x004E4942};
    out.write(reinterpret_cast<const char*>(binHeader), sizeof binHeader);
    out << bin;
}

bool Exists(const std::string& path, void*) { return std::ifstream(path).good(); }
std::string Expand(const std::string& path, void*) { return path; }
// As the parser's own file access reads: the size first, then one read.
bool ReadWhole(std::vector<unsigned char>* out, std::string*, const std::string& path, void*)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (!in || size <= 0)
        return false;
    out->resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(out->data()), size);
    return bool(in);
}
bool WriteWhole(std::string*, const std::string&, const std::vector<unsigned char>&, void*)
{
    return false;
}
bool NoImages(tinygltf::Image*, const int, std::string*, std::string*, int, int,
              const unsigned char*, int, void*)
{
    return true;
}

void BM_LibraryParseOnly(benchmark::State& state)
{
    WriteSheet();
    for (auto _ : state)
    {
        tinygltf::TinyGLTF parser;
        parser.SetFsCallbacks({&Exists, &Expand, &ReadWhole, &WriteWhole, nullptr});
        parser.SetImageLoader(&NoImages, nullptr);
        tinygltf::Model model;
        std::string error, warning;
        if (!parser.LoadBinaryFromFile(&model, &error, &warning, kFile))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(model);
    }
}
BENCHMARK(BM_LibraryParseOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ModuleLoad(benchmark::State& state)
{
    WriteSheet();
    QVModelLoader loader;
    for (auto _ : state)
    {
        QVSGMesh mesh;
        if (!loader.Load(&mesh.GetLoaders(), kFile))
            state.SkipWithError(loader.GetLastError().c_str());
        state.counters["triangles"] = mesh.GetIndexCount() / 3;
    }
}
BENCHMARK(BM_ModuleLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
