#pragma once

#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"

#include <cstdint>
#include <vector>

class PixelRay;
class SecondaryRays;
class TenthsProgress;

// Traces a whole image on several threads. The rows are cut into bands, several per thread, and
// each thread takes the next untraced band until none is left, so that a thread that drew the
// empty sky does not wait idle for one that drew the objects. Each thread traces with a primary
// ray and secondary rays of its own and only reads the scene; a pixel's colour depends on its own
// ray alone, so the image is the same bit for bit whatever the number of threads.
//
// Pixel i gets primary ray i, as the viewer's ray array does; with an odd width or height the
// last pixels get no primary ray and are traced as a new ray (zero origin and direction).
class BandTracer
{
public:
    // The scene and the rays must outlive the tracer; depth is the further reflection and
    // transparency levels of every primary ray.
    BandTracer(const RayScene& scene, const PrimaryRays& primary, int width, int height, int depth);

    // Traces every pixel into rgb (width x height pixels of red, green and blue bytes, rows from
    // the top), on at most `threads` threads counting the calling one; each finished row is added
    // to progress when that is not null. Returns the number of threads that traced (fewer when
    // the image has fewer bands or the system refuses more threads). An exception thrown by a
    // trace stops every thread and is rethrown here.
    int Trace(int threads, std::vector<std::uint8_t>& rgb, TenthsProgress* progress);

    // Rows per band for this many threads: about eight bands per thread, at least one row.
    static int BandRows(int height, int threads);

private:
    // Traces rows [firstRow, lastRow) with the given rays.
    void TraceRows(int firstRow, int lastRow, PixelRay& ray, SecondaryRays& secondaries,
                   std::uint8_t* rgb) const;

    const RayScene& scene;
    const PrimaryRays& primary;
    int width;
    int height;
    int depth;
};
