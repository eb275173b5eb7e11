#pragma once

#include "loaders/model/QVModelLoader.h"
#include "scene/QVSGMesh.h"

#include <string>

// Loads a file into a fresh mesh through the loader class, as the module does.
struct LoadedModel
{
    QVSGMesh mesh;
    QVModelLoader loader;
    bool ok = false;

    explicit LoadedModel(const std::string& file, int markerVertices = 0)
    {
        // A mesh that already holds something shows whether a refused file left it alone.
        mesh.ResizeVertices(markerVertices);
        ok = loader.Load(&mesh.GetLoaders(), QVString(file.c_str()));
    }
    const std::string& Error() const { return loader.GetLastError(); }
    int Triangles() { return mesh.GetIndexCount() / 3; }
};
