#pragma once

#include <cstdint>

// The parts of the Truevision TGA file layout that the loader reads and writes. Multi-byte
// fields are little-endian.
namespace tga
{
const int kHeaderSize = 18;
const int kFooterSize = 26;
// Where the signature of a TGA 2.0 file sits in the footer, after the extension area and
// developer directory offsets, and what it says; "." and a zero byte follow it.
const int kSignatureOffset = 8;
const char kSignature[] = "TRUEVISION-XFILE";
const int kSignatureSize = 16;

// Image type of uncompressed true-colour pictures, the only kind read.
const int kTrueColour = 2;

// Descriptor bits: attribute (alpha) bits per pixel, and where the first stored pixel lies.
const int kAttributeBitsMask = 0x0F;
const int kRightToLeft = 0x10;
const int kTopToBottom = 0x20;

// The bits of Header::Origin.
const int kOriginRight = 1;
const int kOriginTop = 2;

// The 18 header bytes, decoded.
struct Header
{
    std::uint8_t idLength;
    std::uint8_t colourMapType;
    std::uint8_t imageType;
    std::uint16_t firstColourMapEntry;
    std::uint16_t colourMapLength;
    std::uint8_t colourMapEntrySize;
    std::uint16_t xOrigin;
    std::uint16_t yOrigin;
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t pixelDepth;
    std::uint8_t descriptor;

    static Header Decode(const std::uint8_t (&bytes)[kHeaderSize]);
    void Encode(std::uint8_t (&bytes)[kHeaderSize]) const;

    int AttributeBits() const { return descriptor & kAttributeBitsMask; }
    // The origin bits as a number: 0 bottom-left, 1 bottom-right, 2 top-left, 3 top-right.
    int Origin() const { return (descriptor & (kRightToLeft | kTopToBottom)) >> 4; }
};
}  // namespace tga
