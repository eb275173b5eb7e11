#include "gl/QVGLWindow.h"

#include <emscripten/emscripten.h>

#include <cstdint>

// A renderer's own window on the web: a "qvwin-N" element with its canvas, placed in the page's
// body at the requested position (a page has no top-level windows and no display modes, so
// full screen gives an ordinary one). Nothing closes it but the page.
namespace
{
EM_JS(int, MakeOwnWindowElement, (int x, int y, int width, int height), {
    const number = globalThis.__qvNextWindowId = (globalThis.__qvNextWindowId || 1);
    globalThis.__qvNextWindowId = number + 1;
    const div = document.createElement("div");
    div.id = "qvwin-" + number;
    div.title = "Window Sample";
    div.style.cssText = "position:absolute;display:none;left:" + x + "px;top:" + y +
                        "px;width:" + width + "px;height:" + height + "px";
    const canvas = document.createElement("canvas");
    canvas.id = "qvwin-" + number + "-canvas";
    canvas.width = width;
    canvas.height = height;
    canvas.style.cssText = "display:block;width:100%;height:100%";
    div.appendChild(canvas);
    document.body.appendChild(div);
    return number;
});

EM_JS(void, ShowOwnWindowElement, (int number), {
    const element = document.getElementById("qvwin-" + number);
    if (element)
    {
        element.style.display = "block";
    }
});
}  // namespace

QVGLWindow::QVGLWindow()
    : window(nullptr), connection(nullptr), ownConnection(false), fullScreen(false),
      modeToRestore(false)
{
}

QVGLWindow::~QVGLWindow() = default;

bool QVGLWindow::Create(const Request& request)
{
    if (window != nullptr)
    {
        return false;
    }
    const int width = request.width > 0 ? request.width : 1;
    const int height = request.height > 0 ? request.height : 1;
    const int number = MakeOwnWindowElement(request.x, request.y, width, height);
    window = reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(number));
    // No display connection, and no display mode to switch: full screen gives an ordinary one.
    connection = nullptr;
    ownConnection = false;
    fullScreen = false;
    modeToRestore = false;
    return true;
}

void QVGLWindow::Show()
{
    if (window != nullptr)
    {
        ShowOwnWindowElement(static_cast<int>(reinterpret_cast<std::intptr_t>(window)));
    }
}

bool QVGLWindow::PumpMessage(QVHandle) { return false; }

void QVGLWindow::RestoreDisplayMode() {}
