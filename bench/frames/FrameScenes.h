#pragma once

#include <memory>
#include <string>
#include <vector>

class QVColor;
class QVImage;
class QVRenderer;
class QVSGCamera;
class QVSGMesh;
class QVSGWorld;

// A scene of the frame-rate benchmark: a world the renderer draws frame by frame, the meshes and
// image the reference draws the same way, and what moves between frames.
class FrameScene
{
public:
    virtual ~FrameScene() {}

    // Reads the scene's files (through the loader modules beside the program). False, with
    // error set, when one cannot be read.
    virtual bool Load(std::string& error) = 0;
    // Binds the nodes to renderer and attaches the world; Unbind drops them again.
    virtual void Bind(QVRenderer* renderer) = 0;
    virtual void Unbind(QVRenderer* renderer) = 0;
    // Puts the scene into its state for frame number frame (0, 1, ...).
    virtual void Animate(int frame) { (void)frame; }

    virtual QVSGWorld& World() = 0;
    virtual QVSGCamera& Camera() = 0;
    virtual std::vector<QVSGMesh*> Meshes() = 0;
    // The image the meshes are textured with, or null.
    virtual QVImage* Texture() { return nullptr; }
    // Whether the only mesh moves from frame to frame.
    virtual bool Moves() const { return false; }
};

// (a) the 65,535-face sheet of the 3D Studio loading benchmark, lit, as qvglview shows a model.
std::unique_ptr<FrameScene> MakeSheetScene();
// (b) the spinner applet's textured cube turning, from its files in dataFolder.
std::unique_ptr<FrameScene> MakeSpinnerScene(const std::string& dataFolder);
// (c) the demonstration scene.
std::unique_ptr<FrameScene> MakeDemoFrameScene();

// How many pixels of a frame read back (channels 3 or 4 per pixel, red, green and blue first)
// differ from the background by more than 2 in a channel: what a renderer drew.
long CountCovered(const std::vector<unsigned char>& pixels, int channels,
                  const QVColor& background);
