#pragma once

#include <memory>
#include <vector>

class PixelRay;

// The secondary rays (shadow, reflection, transparency) of one trace, one per recursion level: a
// level's ray is only in use while one hit of the level above is shaded, so one ray per level is
// enough, and a trace allocates nothing once the pool has grown to the deepest level used.
//
// A pool serves one thread at a time. The module traces on one thread with the shared pool;
// a program that traces on several threads gives each thread a pool of its own.
class SecondaryRays
{
public:
    SecondaryRays();
    ~SecondaryRays();
    SecondaryRays(const SecondaryRays&) = delete;
    SecondaryRays& operator=(const SecondaryRays&) = delete;

    // The secondary ray for shading a hit of a ray of this level (0 for a primary ray), reset as
    // if new; its own level is one more.
    PixelRay& For(int level);

    // The pool of single-threaded traces (those that name no pool).
    static SecondaryRays& Shared();

private:
    std::vector<std::unique_ptr<PixelRay>> rays;
};
