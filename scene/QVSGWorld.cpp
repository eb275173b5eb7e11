#include "scene/QVSGWorld.h"

#include "renderers/QVRenderer.h"
#include "scene/QVSGDrawable.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGLight.h"

namespace
{
// Children are plain nodes; only drawables can be drawn. Decided by the kind bits (every
// drawable is spatial) and then by the node's own Draw slot.
bool DrawNode(QVSGNode* node, QVRenderer* renderer)
{
    if (node == nullptr || (node->GetKindFlags() & QVSG_KIND_SPATIAL) == 0)
    {
        return false;
    }
    return static_cast<QVSGDrawable*>(node)->Draw(renderer);
}
}  // namespace

QVSGWorld::QVSGWorld()
    : QVSGNode("noname"), loaders(QVSG_CLASS_WORLD, "World Loader"), renderer(nullptr),
      camera(&ownCamera), ownCamera(), overlayCamera(), background(0u), Overlay("noname"), lights(),
      axesSwitch(0), defaultMaterial()
{
    ClassId = QVSG_CLASS_WORLD;
    AddKindFlags(QVSG_KIND_WORLD);
    ownCamera.SetFrustum(2.0, 2.0, 1.0, 1000.0);
    defaultMaterial.ambient.Set(1.0, 1.0, 1.0, 0.0);
    defaultMaterial.diffuse.Set(0.9, 0.9, 0.9, 0.0);
    defaultMaterial.specular.Set(1.0, 1.0, 1.0, 0.0);
    defaultMaterial.baseColour.Set(0.1, 0.1, 0.1, 0.0);
    defaultMaterial.shininess = 32;
}

QVSGWorld::~QVSGWorld() = default;

bool QVSGWorld::InitHard(QVRenderer* target) { return Attach(target); }

bool QVSGWorld::Attach(QVRenderer* target)
{
    if (target == nullptr || !target->IsReady())
    {
        return false;
    }
    renderer = target;
    (void)renderer->InitNode(this);
    for (unsigned i = 0; i < Children.GetCount(); ++i)
    {
        (void)Children[i]->InitHard(renderer);
    }
    for (unsigned i = 0; i < Overlay.GetChildCount(); ++i)
    {
        (void)Overlay.GetChild(i)->InitHard(renderer);
    }
    // Overlay coordinates are pixels, x to the right and y downwards. The eye sits on +z looking
    // at the origin, so that the view keeps x and y as they are and the orthographic box below
    // maps (0, 0) to the top left and the viewport size to the bottom right. (From the -z side
    // the view would mirror x and move the whole overlay off the left of the screen.)
    overlayCamera.SetPosition(0.0, 0.0, 1.0);
    overlayCamera.LookAt(QVVector(4));
    overlayCamera.BuildView();
    overlayCamera.SetOrtho(0.0, renderer->GetViewportWidth(), renderer->GetViewportHeight(), 0.0,
                           -1000.0, 1000.0);
    return true;
}

bool QVSGWorld::ReleaseHard(QVRenderer*)
{
    // Without an attached renderer nothing was bound through the world, and bound nodes must
    // not be handed to a null renderer.
    if (renderer == nullptr)
    {
        return true;
    }
    for (unsigned i = 0; i < Children.GetCount(); ++i)
    {
        (void)Children[i]->ReleaseHard(renderer);
    }
    for (unsigned i = 0; i < Overlay.GetChildCount(); ++i)
    {
        (void)Overlay.GetChild(i)->ReleaseHard(renderer);
    }
    return true;
}

bool QVSGWorld::ReservedTest(std::intptr_t, std::intptr_t) { return true; }

bool QVSGWorld::Render()
{
    if (renderer == nullptr || !renderer->IsReady())
    {
        return false;
    }
    renderer->BeginFrame();
    renderer->SetClearColour(&background);
    renderer->Clear(true, true, false);
    if (camera != nullptr)
    {
        renderer->SetProjection(camera);
        renderer->SetView(camera);
    }
    if (axesSwitch == 1)
    {
        renderer->DrawAxes(10.0f);
    }
    if (!renderer->RenderScene())
    {
        const unsigned lightCount = lights.GetCount();
        renderer->EnableLighting(lightCount > 0);
        for (unsigned i = 0; i < lightCount; ++i)
        {
            renderer->SetLight(static_cast<int>(i), static_cast<QVSGLight*>(lights[i]));
        }
        for (unsigned i = 0; i < Children.GetCount(); ++i)
        {
            (void)DrawNode(Children[i], renderer);
        }
        renderer->SetProjection(&overlayCamera);
        renderer->SetView(&overlayCamera);
        for (unsigned i = 0; i < Overlay.GetChildCount(); ++i)
        {
            (void)DrawNode(Overlay.GetChild(i), renderer);
        }
    }
    renderer->EndFrame();
    return true;
}

void QVSGWorld::AddLight(QVSGLight* light)
{
    // Insert lands after the cursor; put it on the last light so lights keep insertion order.
    const unsigned count = lights.GetCount();
    if (count > 0)
    {
        (void)lights[count - 1];
    }
    lights.Insert(light);
}

QVSGLight* QVSGWorld::GetLight(unsigned index) { return static_cast<QVSGLight*>(lights[index]); }
