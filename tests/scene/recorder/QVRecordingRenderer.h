#pragma once

#include "renderers/QVRenderer.h"

// A "3D Renderer" module for the scene tests ("qvscenerecorder.qvm"): it writes one line per call
// it receives, with the arguments it was given, so that tests can check across a real library
// boundary what the world and the nodes ask of a renderer. Nodes and cameras appear by name.
// The operations below follow the renderer's slots; tests reach them through this header.
class QVRecordingRenderer : public QVRenderer
{
public:
    // Every call since the last ClearLog, one line each ("BeginFrame", "InitNode camera", ...).
    // Owned by the module; valid until the next call.
    virtual const char* GetLog() = 0;
    virtual void ClearLog() = 0;
    // What RenderScene answers (false at start, as a renderer that lets the world draw).
    virtual void SetRenderSceneResult(bool value) = 0;
    // InitNode refuses nodes with this name (null: accepts every node).
    virtual void RefuseNode(const char* name) = 0;
};

// File name of the module, as the tests load it.
#define QV_RECORDING_RENDERER_FILE "qvscenerecorder.qvm"
