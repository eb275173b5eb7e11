#pragma once

#include "scene/QVSGMesh.h"

#include <cstdint>

// An axis-aligned cube spanning -1 to 1 on every axis, built face by face from a six-bit face
// mask: 0x01 floor (y = -1), 0x02 ceiling (y = +1), 0x04 left (x = -1), 0x08 right (x = +1),
// 0x10 front (z = +1), 0x20 back (z = -1). An inside-out box faces inwards (a room). Size and
// placement come from the transform's scale and position.
class QVSGBox : public QVSGMesh
{
public:
    // Class code QVSG_CLASS_BOX in the node and as the tag of its loader collection.
    QVSGBox(std::int32_t faceMask, std::uint8_t insideOut);
    ~QVSGBox() override;

    void SetFaceMask(std::int32_t value) { FaceMask = value; }
    std::int32_t GetFaceMask() const { return FaceMask; }
    // Only the value 1 turns the box inside out.
    void SetInsideOut(std::uint8_t value) { InsideOut = value; }
    std::uint8_t GetInsideOut() const { return InsideOut; }

    // Replaces the geometry: one face group of 4 vertices and 2 triangles per face present, in
    // the order of the mask bits. Sets the transform's size to 2.0 when at least one face was
    // built. False when memory is not available.
    bool BuildBox();

private:
    std::int32_t FaceMask;
    std::uint8_t InsideOut;
};
