#pragma once

#include <cstddef>

// Watches the requests this test program makes through operator new (which it replaces), so
// that tests can tell how much the loader asked for, not only whether it succeeded: a refused
// hostile header must not have requested its 16 GiB, and a load must not keep a third copy of
// the pixels.
class AllocationWatch
{
public:
    // Starts counting requests of at least `large` bytes, and the largest request of any size.
    // With grantedLarge >= 0, the requests of at least `large` bytes after the first grantedLarge
    // ones fail, as when memory runs short. The test program's allocation hook goes to the heap
    // meanwhile, so that the image's pixel buffer is seen too.
    explicit AllocationWatch(std::size_t large, int grantedLarge = -1);
    // Stops counting; the allocation hook forwards to the memory module again.
    ~AllocationWatch();

    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    std::size_t Largest() const;
    // How many requests of at least `large` bytes were made (granted or not).
    int LargeCount() const;
};
