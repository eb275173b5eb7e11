#include "plugin/npqvarunner/PluginFuncs.h"

#include "plugin/npqvarunner/QVPluginInstance.h"

#include <new>

namespace
{
const std::int32_t WriteReadyBytes = 0x0fffffff;

QVPluginInstance* InstanceOf(NPP instance)
{
    return instance != nullptr ? static_cast<QVPluginInstance*>(instance->pdata) : nullptr;
}

// Frees an instance whose applet ended; one whose applet thread is still running is left in
// place, since freeing it would pull the applet's window and parameters from under it.
void Dispose(QVPluginInstance* object)
{
    if (object->CanBeFreed())
        delete object;
}

NPError New(NPMIMEType, NPP instance, std::uint16_t, std::int16_t argc, char* argn[], char* argv[],
            NPSavedData*)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = new (std::nothrow) QVPluginInstance(instance);
    if (object == nullptr)
        return NPERR_OUT_OF_MEMORY_ERROR;
    if (!object->SetAttributes(argc, argn, argv))
    {
        delete object;
        return NPERR_OUT_OF_MEMORY_ERROR;
    }
    instance->pdata = object;
    return NPERR_NO_ERROR;
}

NPError Destroy(NPP instance, NPSavedData**)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = InstanceOf(instance);
    if (object != nullptr)
    {
        object->Detach();
        Dispose(object);
        instance->pdata = nullptr;
    }
    return NPERR_NO_ERROR;
}

NPError SetWindow(NPP instance, NPWindow* window)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = InstanceOf(instance);
    if (window == nullptr || object == nullptr)
        return NPERR_GENERIC_ERROR;
    if (!object->IsAttached() && window->window != nullptr && !object->Attach(window))
    {
        object->Detach();
        Dispose(object);
        instance->pdata = nullptr;
        return NPERR_MODULE_LOAD_FAILED_ERROR;
    }
    return object->SetWindow(window);
}

NPError NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable,
                  std::uint16_t* streamType)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = InstanceOf(instance);
    if (object == nullptr)
        return NPERR_GENERIC_ERROR;
    return object->NewStream(type, stream, seekable, streamType);
}

NPError DestroyStream(NPP instance, NPStream* stream, NPReason reason)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = InstanceOf(instance);
    if (object == nullptr)
        return NPERR_GENERIC_ERROR;
    return object->DestroyStream(stream, reason);
}

void StreamAsFile(NPP instance, NPStream* stream, const char* fileName)
{
    if (QVPluginInstance* object = InstanceOf(instance))
        object->StreamAsFile(stream, fileName);
}

std::int32_t WriteReady(NPP instance, NPStream* stream)
{
    QVPluginInstance* object = InstanceOf(instance);
    return object != nullptr ? object->WriteReady(stream) : WriteReadyBytes;
}

std::int32_t Write(NPP instance, NPStream* stream, std::int32_t offset, std::int32_t length,
                   void* buffer)
{
    QVPluginInstance* object = InstanceOf(instance);
    return object != nullptr ? object->Write(stream, offset, length, buffer) : length;
}

void Print(NPP instance, NPPrint* printInfo)
{
    if (QVPluginInstance* object = InstanceOf(instance))
        object->Print(printInfo);
}

std::int16_t HandleEvent(NPP instance, void* event)
{
    QVPluginInstance* object = InstanceOf(instance);
    return object != nullptr ? object->HandleEvent(event) : 0;
}

void URLNotify(NPP instance, const char* url, NPReason reason, void* notifyData)
{
    if (QVPluginInstance* object = InstanceOf(instance))
        object->URLNotify(url, reason, notifyData);
}

NPError GetValue(NPP instance, NPPVariable variable, void* value)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = InstanceOf(instance);
    if (object == nullptr)
        return NPERR_GENERIC_ERROR;
    return object->GetValue(variable, value);
}

NPError SetValue(NPP instance, NPNVariable variable, void* value)
{
    if (instance == nullptr)
        return NPERR_INVALID_INSTANCE_ERROR;
    QVPluginInstance* object = InstanceOf(instance);
    if (object == nullptr)
        return NPERR_GENERIC_ERROR;
    return object->SetValue(variable, value);
}
}  // namespace

NPError QVFillPluginFuncs(NPPluginFuncs* pluginFuncs)
{
    if (pluginFuncs == nullptr)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    pluginFuncs->version = static_cast<std::uint16_t>((kNPVersionMajor << 8) | kNPVersionMinor);
    pluginFuncs->newp = New;
    pluginFuncs->destroy = Destroy;
    pluginFuncs->setwindow = SetWindow;
    pluginFuncs->newstream = NewStream;
    pluginFuncs->destroystream = DestroyStream;
    pluginFuncs->asfile = StreamAsFile;
    pluginFuncs->writeready = WriteReady;
    pluginFuncs->write = Write;
    pluginFuncs->print = Print;
    pluginFuncs->event = HandleEvent;
    pluginFuncs->urlnotify = URLNotify;
    pluginFuncs->getvalue = GetValue;
    pluginFuncs->setvalue = SetValue;
    return NPERR_NO_ERROR;
}

const char* QVPluginName() { return "npqvarunner"; }

const char* QVPluginDescription()
{
    return "Runs Quarvo Applets (application/qv-applet, *.qva) embedded in web pages";
}
