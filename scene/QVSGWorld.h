#pragma once

#include "core/containers/QVPtrList.h"
#include "modules/QVModCollection.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGNode.h"

#include <cstdint>

class QVSGLight;

// The root of a scene and the only object that talks to a renderer frame by frame. Scene objects
// are the world's children; lights sit in a list of their own; an overlay node holds what is
// drawn in screen space after the scene, through a second camera that maps pixels (y downwards).
// The world owns its two cameras, its overlay node, background colour and default material; it
// does not own its objects, its lights or the renderer.
//
// Building a world gathers the "World Loader" modules (the module manager scans the working and
// runtime directories at construction).
class QVSGWorld : public QVSGNode
{
public:
    // Own camera as the scene camera with a 2 x 2 frustum at near 1, far 1000; black background;
    // axes off; default material white-ish with shininess 32. Class code QVSG_CLASS_WORLD.
    QVSGWorld();
    ~QVSGWorld() override;

    // Slot 3: the world's InitHard is Attach.
    bool InitHard(QVRenderer* renderer) override;
    // Slot 5: releases every object and overlay node from the attached renderer (not the
    // argument). Returns true.
    bool ReleaseHard(QVRenderer* renderer) override;
    // Slot 6. Returns true.
    bool ReservedTest(std::intptr_t first, std::intptr_t second) override;

    // Binds the scene to a ready renderer: hands it the world, binds every object and overlay
    // node, and sets up the overlay camera from the renderer's viewport at this moment. False,
    // without touching the renderer, when it is null or not ready. The renderer is not owned.
    bool Attach(QVRenderer* renderer);
    // Draws one frame through the attached renderer; false when there is none or it is not
    // ready. Objects whose binding failed are skipped; the frame still completes.
    bool Render();

    // Adds a scene object / a light (not owned; they must outlive the world's lists).
    void AddObject(QVSGNode* node) { AddChild(node); }
    void AddLight(QVSGLight* light);
    // The scene camera (null: frames are drawn without setting the scene's camera). Not owned
    // unless it is the world's own.
    void SetCamera(QVSGCamera* value) { camera = value; }
    QVSGCamera* GetCamera() const { return camera; }
    QVSGCamera& GetOwnCamera() { return ownCamera; }
    QVSGCamera& GetOverlayCamera() { return overlayCamera; }
    QVRenderer* GetRenderer() const { return renderer; }

    unsigned GetLightCount() const { return lights.GetCount(); }
    // Light at index. Throws QVException ("operateur []", "index out of bounds") out of range.
    QVSGLight* GetLight(unsigned index);

    QVColor& GetBackground() { return background; }
    QVSGNode& GetOverlay() { return Overlay; }
    QVSGMaterial& GetDefaultMaterial() { return defaultMaterial; }
    QVModCollection& GetLoaders() { return loaders; }
    // 1 asks the renderer to draw coordinate axes every frame; any other value does not.
    void SetAxesSwitch(std::uint8_t value) { axesSwitch = value; }
    std::uint8_t GetAxesSwitch() const { return axesSwitch; }

private:
    QVModCollection loaders;  // "World Loader" modules; no module of the system has that type
    QVRenderer* renderer;     // set by Attach; not owned
    QVSGCamera* camera;       // the view of the scene
    QVSGCamera ownCamera;
    QVSGCamera overlayCamera;
    QVColor background;
    QVSGNode Overlay;
    QVPtrList<QVSGNode> lights;  // QVSGLight nodes in insertion order; not owned
    std::uint8_t axesSwitch;
    QVSGMaterial defaultMaterial;
};
