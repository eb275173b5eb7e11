// One source for every test module; the build gives each library its descriptor and decides
// which of the two entry points it has:
//   TM_TAG        target name, returned by GetTag
//   TM_FILE_NAME  file name the constructor sets (absent: left empty)
//   TM_TYPE, TM_SUBTYPE, TM_NAME  descriptor strings
//   TM_CREATE     0: no CreateMod; 1: CreateMod; 2: CreateMod that returns null
//   TM_RELEASE    0: no ReleaseMod
//   TM_STATIC_OBJECTS  objects live in static storage instead of the heap (for a module whose
//                      objects are never destroyed)
#include "tests/modules/testmods/QVTestModule.h"

#include "modules/ModuleExport.h"
#include "modules/QVAllocHook.h"
#include "modules/QVMemoryModule.h"

#include <cstring>
#include <new>

#define TM_ENTRY QV_MODULE_ENTRY

namespace
{

int liveObjects = 0;

class TestModule : public QVTestModule
{
public:
    TestModule()
    {
#ifdef TM_FILE_NAME
        SetFileName(QVString(TM_FILE_NAME));
#endif
        SetName(QVString(TM_NAME));
        SetPlatform(QVString("All"));
        SetType(QVString(TM_TYPE));
#ifdef TM_SUBTYPE
        GetSubtype().Assign(TM_SUBTYPE);
#endif
        ++liveObjects;
    }
    ~TestModule() override { --liveObjects; }

    int GetLiveObjects() override { return liveObjects; }
    const char* GetTag() override { return TM_TAG; }
    QVModule* GetHookMemoryModule() override { return GetAllocHook().GetModule(); }
    void* AcquireNamedBlock(unsigned key, int size, const char* text) override
    {
        QVModule* memory = GetAllocHook().GetModule();
        if (memory == nullptr || size <= 0)
            return nullptr;
        void* block = nullptr;
        static_cast<QVMemoryModule*>(memory)->AcquireBlock(&block, size, key);
        if (block != nullptr)
            std::strncpy(static_cast<char*>(block), text, static_cast<std::size_t>(size));
        return block;
    }
};

}  // namespace

#if TM_CREATE == 1 && defined(TM_STATIC_OBJECTS)
namespace
{
// Enough for every load of one test run: where the library is never unloaded (compiled into the
// program on the web) the slots are not given back between tests.
constexpr int SlotCount = 64;
alignas(TestModule) unsigned char objectSlots[SlotCount][sizeof(TestModule)];
int usedSlots = 0;
// Nobody can destroy these objects through the manager; the library does when it goes, so that
// the strings they hold do not count as leaks.
struct SlotCleaner
{
    ~SlotCleaner()
    {
        for (int i = 0; i < usedSlots; ++i)
            reinterpret_cast<TestModule*>(objectSlots[i])->~TestModule();
    }
} slotCleaner;
}  // namespace
extern "C" TM_ENTRY QVModule* CreateMod()
{
    return usedSlots < SlotCount ? ::new (objectSlots[usedSlots++]) TestModule() : nullptr;
}
#elif TM_CREATE == 1
extern "C" TM_ENTRY QVModule* CreateMod() { return new (std::nothrow) TestModule(); }
#elif TM_CREATE == 2
extern "C" TM_ENTRY QVModule* CreateMod() { return nullptr; }
#endif

#if TM_RELEASE
extern "C" TM_ENTRY void ReleaseMod(QVModule* module) { delete module; }
#endif

// The entry points it has, for a program that has it compiled in.
#if TM_CREATE == 0
#define TM_CREATE_ENTRY nullptr
#else
#define TM_CREATE_ENTRY CreateMod
#endif
#if TM_RELEASE
#define TM_RELEASE_ENTRY ReleaseMod
#else
#define TM_RELEASE_ENTRY nullptr
#endif
QV_REGISTER_MODULE(TM_CREATE_ENTRY, TM_RELEASE_ENTRY)
