#pragma once

// What happened in the page, as the page side of the manager queues it (WebPageLibrary.js writes
// these records; keep the layout and the values in step with it).
enum WebEventType
{
    WEB_EVENT_KEY_DOWN = 1,    // code, key: KeyboardEvent.code and .key
    WEB_EVENT_KEY_UP = 2,      // code, key
    WEB_EVENT_MOUSE_MOVE = 3,  // x, y in the window's client area; flags: QVUIMouseFlags
    WEB_EVENT_COMMAND = 4,     // a button was clicked: window contains it, control is the button
    WEB_EVENT_CLOSE = 5,       // the close control of a top-level window was clicked
    WEB_EVENT_QUIT = 6,        // PostQuit for the window
    WEB_EVENT_SIZE = 7,        // the window took its host's new size: x, y are width, height
};

struct WebEvent
{
    int type;    // WebEventType
    int window;  // id N of the element "qvwin-N" the event belongs to
    int x;
    int y;
    int flags;
    int control;  // command: id of the button
    char code[32];
    char key[32];
};

static_assert(sizeof(WebEvent) == 88, "WebPageLibrary.js writes this layout");
