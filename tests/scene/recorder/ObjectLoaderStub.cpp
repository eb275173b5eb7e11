// A module of type "Object Loader" for the scene tests ("qvsceneloader.qvm"): it does nothing but
// describe itself, so that tests can see which collections gather it.
#include "modules/ModuleExport.h"

class ObjectLoaderStub final : public QVModule
{
public:
    ObjectLoaderStub()
    {
        SetFileName(QVString("qvsceneloader.qvm"));
        SetName(QVString("Scene test object loader"));
        SetPlatform(QVString("All"));
        SetType(QVString("Object Loader"));
    }
};

QV_DEFINE_MODULE(ObjectLoaderStub)
