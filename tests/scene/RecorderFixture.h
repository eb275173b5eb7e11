#pragma once

#include "modules/QVModManager.h"
#include "renderers/HostWindowSetup.h"
#include "tests/scene/recorder/QVRecordingRenderer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// Loads the recording renderer module through this program's module manager for each test and
// releases it afterwards, so that every call a scene makes crosses a real library boundary.
class RecorderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        int status = 0;
        QVModule* module = GetModManager().LoadModule(QV_RECORDING_RENDERER_FILE, status);
        ASSERT_NE(nullptr, module) << "the scene tests run in the directory of their test modules";
        ASSERT_EQ(QV_LOAD_NEW, status);
        recorder = static_cast<QVRecordingRenderer*>(module);
        ASSERT_EQ(std::string("3D Renderer"), recorder->GetType().GetBuffer());
    }

    void TearDown() override
    {
        if (recorder != nullptr)
        {
            GetModManager().ReleaseModule(recorder);
            recorder = nullptr;
        }
    }

    // Init with a 200 x 150 window (any non-null handle: the recorder draws nowhere).
    bool InitRecorder(int width = 200, int height = 150)
    {
        RendererSetup setup = HostWindowSetup(nullptr, nullptr, width, height);
        setup.window = &setup;
        const bool ready = recorder->Init(&setup);
        recorder->ClearLog();
        return ready;
    }

    // The calls recorded since the last ClearLog, and clears the log.
    std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> lines;
        std::istringstream text(recorder->GetLog());
        for (std::string line; std::getline(text, line);)
        {
            lines.push_back(line);
        }
        recorder->ClearLog();
        return lines;
    }

    QVRecordingRenderer* recorder = nullptr;
};

using Calls = std::vector<std::string>;
