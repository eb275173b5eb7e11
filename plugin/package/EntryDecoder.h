#pragma once

#include <unzip.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

// The data of one package entry, decompressed and checked on the way. The entry is opened raw
// through minizip (which then hands over the bytes as they are stored) and inflated here, so
// that nothing beyond what the header declares is ever produced and a stream that would go on
// is noticed: the data must end exactly at the declared size, with the declared CRC, and the
// stored bytes must end with it. Only stored (0) and deflated (8) entries are read.
class EntryDecoder
{
public:
    // zip's current entry, whose header declares size bytes with the given CRC.
    EntryDecoder(unzFile zip, std::uint64_t size, unsigned long crc);
    // Closes the entry when it is still open.
    ~EntryDecoder();
    EntryDecoder(const EntryDecoder&) = delete;
    EntryDecoder& operator=(const EntryDecoder&) = delete;

    // Opens the entry; false when minizip refuses it or its method is neither stored nor
    // deflated.
    bool Open();
    // Decompresses the next piece into out (capacity bytes) and returns its size; 0 once the
    // data ended as declared; -1 when it did not (damaged data, a different size or CRC, a read
    // error). After 0 or -1 nothing more is read.
    long Next(unsigned char* out, unsigned capacity);

private:
    // Refills the input from the stored bytes; false on a read error.
    bool Fill();
    long Finish();

    unzFile m_zip;
    std::uint64_t m_declared;
    unsigned long m_declaredCrc;
    bool m_open = false;
    bool m_deflated = false;
    bool m_inflating = false;
    bool m_done = false;
    bool m_streamEnded = false;  // the deflate stream reached its end
    bool m_storedEnded = false;  // minizip has no more stored bytes
    std::uint64_t m_produced = 0;
    unsigned long m_crc = 0;
    z_stream m_stream = {};
    std::vector<unsigned char> m_input;
};
