// operator new and delete replaced for the whole program: plain malloc and free, with a look at
// every request while an AllocationWatch is alive. The replacements must be the ones every
// library of the process binds to (on ELF they are exported), or memory from one pair would be
// returned to the other.
#include "AllocationWatch.h"

#include "modules/QVAllocHook.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__ELF__)
#define QV_REPLACEMENT __attribute__((visibility("default")))
#else
#define QV_REPLACEMENT
#endif

namespace
{
std::atomic<bool> watching{false};
std::atomic<std::size_t> largeThreshold{0};
std::atomic<std::size_t> largest{0};
std::atomic<int> largeCount{0};
std::atomic<int> largeGranted{-1};  // -1: every request

void* Allocate(std::size_t size)
{
    if (watching.load(std::memory_order_relaxed))
    {
        std::size_t seen = largest.load(std::memory_order_relaxed);
        while (size > seen && !largest.compare_exchange_weak(seen, size))
        {
        }
        if (size >= largeThreshold.load(std::memory_order_relaxed))
        {
            const int granted = largeGranted.load();
            if (largeCount.fetch_add(1) >= granted && granted >= 0)
            {
                return nullptr;
            }
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

AllocationWatch::AllocationWatch(std::size_t large, int grantedLarge)
{
    QVHookSetActive(false);
    largeThreshold = large;
    largeGranted = grantedLarge;
    largest = 0;
    largeCount = 0;
    watching = true;
}

AllocationWatch::~AllocationWatch()
{
    watching = false;
    QVHookSetActive(true);
}

std::size_t AllocationWatch::Largest() const { return largest.load(); }

int AllocationWatch::LargeCount() const { return largeCount.load(); }

QV_REPLACEMENT void* operator new(std::size_t size)
{
    void* block = Allocate(size);
    if (block == nullptr)
    {
        throw std::bad_alloc();
    }
    return block;
}

QV_REPLACEMENT void* operator new[](std::size_t size) { return ::operator new(size); }

QV_REPLACEMENT void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

QV_REPLACEMENT void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

QV_REPLACEMENT void operator delete(void* block) noexcept { std::free(block); }
QV_REPLACEMENT void operator delete[](void* block) noexcept { std::free(block); }
QV_REPLACEMENT void operator delete(void* block, std::size_t) noexcept { std::free(block); }
QV_REPLACEMENT void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
QV_REPLACEMENT void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
QV_REPLACEMENT void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
