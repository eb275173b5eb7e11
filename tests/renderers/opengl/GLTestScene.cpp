#include "tests/renderers/opengl/GLTestScene.h"

#include "renderers/QVRenderer.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMesh.h"
#include "tests/renderers/opengl/GLTestSession.h"

const std::vector<std::int32_t> kQuadIndices = {0, 2, 1, 0, 3, 2};

void BuildQuad(QVSGMesh& mesh, QVSGMaterial* material, const std::vector<std::int32_t>& indices)
{
    const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    mesh.ResizeVertices(4);
    for (int i = 0; i < 4; ++i)
    {
        QVVertex& v = mesh.GetVertex(i);
        v.SetPosition(corners[i][0], corners[i][1], 0.0);
        v.SetNormal(0.0f, 0.0f, 1.0f);
        v.SetUV(static_cast<float>((corners[i][0] + 1) / 2),
                static_cast<float>((corners[i][1] + 1) / 2));
    }
    mesh.ResizeIndices(static_cast<int>(indices.size()));
    for (std::size_t i = 0; i < indices.size(); ++i)
    {
        mesh.GetIndex(static_cast<int>(i)) = indices[i];
    }
    mesh.ResizeFaceGroups(1);
    QVFaceGroup& group = mesh.GetFaceGroup(0);
    group.SetMaterial(material);
    group.SetFirstIndex(0);
    group.SetIndexCount(static_cast<std::int32_t>(indices.size()));
}

void BeginSceneFrame(GLTestSession& gl, QVSGCamera& camera, double fieldOfView, QVSGLight* light)
{
    camera.SetPerspective(fieldOfView, 1.0, 0.1, 100.0);
    gl->BeginFrame();
    QVColor black(0, 0, 0, 0);
    gl->SetClearColour(&black);
    gl->Clear(true, true, false);
    // The model-view matrix stays the identity: the eye at the origin looking down -z.
    gl->SetProjection(&camera);
    gl->EnableLighting(light != nullptr);
    if (light != nullptr)
    {
        gl->SetLight(0, light);
    }
}
