#pragma once

#include "plugin/npapi/NPAPI.h"

#include <cstdint>

// What one plug-in instance offers the library's entry points: fourteen virtual operations in
// this slot order (the entry points forward to them). Instances are destroyed through their own
// class, never through this interface.
class QVPluginInterface
{
public:
    // Slot 0. Takes the browser's plug-in window; false when the record holds no native window.
    virtual bool Attach(NPWindow* window) = 0;
    // Slot 1. Ends the applet and gives the browser's window back.
    virtual void Detach() = 0;
    // Slot 2. Whether Attach succeeded and no Detach followed.
    virtual bool IsAttached() = 0;
    // Slots 3 to 13: the instance calls of the browser, with the results of the entry points.
    virtual NPError SetWindow(NPWindow* window) = 0;
    virtual NPError NewStream(NPMIMEType type, NPStream* stream, NPBool seekable,
                              std::uint16_t* streamType) = 0;
    virtual NPError DestroyStream(NPStream* stream, NPReason reason) = 0;
    virtual void StreamAsFile(NPStream* stream, const char* fileName) = 0;
    virtual std::int32_t WriteReady(NPStream* stream) = 0;
    virtual std::int32_t Write(NPStream* stream, std::int32_t offset, std::int32_t length,
                               void* buffer) = 0;
    virtual void Print(NPPrint* printInfo) = 0;
    virtual std::int16_t HandleEvent(void* event) = 0;
    virtual void URLNotify(const char* url, NPReason reason, void* notifyData) = 0;
    virtual NPError GetValue(NPPVariable variable, void* value) = 0;
    virtual NPError SetValue(NPNVariable variable, void* value) = 0;

protected:
    ~QVPluginInterface() = default;
};
