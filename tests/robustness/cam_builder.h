// Robustness tests: CAM files built byte by byte (headers, directories, lengths that lie),
// and the generated test pictures as tag-3 pieces and as a whole JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/conversion/test_files.h"

struct CamPart {
    uint16_t tag;
    Bytes data;
    // Length written into the directory; the data's own size when not given.
    int64_t claimedLength = -1;
};

// Magic, `count` (the number of parts when negative), directory, then the data of every part.
Bytes CamBytes(const std::vector<CamPart>& parts, int count = -1);

// Tag-3 data: head (component count and three scan lengths), the tables, the scans.
Bytes ScansData(uint16_t components, const Bytes& q0, const Bytes& q1, const Bytes (&scans)[3]);
// The same with scan lengths written into the head that need not match the scans given.
Bytes ScansDataClaiming(uint16_t components, const uint16_t (&lengths)[3], const Bytes& body);

// The pieces of the generated picture `name` ("sunset", "rings", "checker").
struct Pieces {
    Bytes q0, q1, scans[3];
    size_t ScanTotal() const { return scans[0].size() + scans[1].size() + scans[2].size(); }
};
Pieces LoadPieces(const std::string& name);

// The generated picture `name` as tag-3 data, and a complete JPEG for tag-4 entries.
Bytes PictureScans(const std::string& name);
Bytes WholeJpeg();

bool WriteFile(const std::string& path, const Bytes& bytes);
