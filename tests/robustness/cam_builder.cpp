// CAM files built byte by byte for the robustness tests.
#include "tests/robustness/cam_builder.h"

#include <cstdio>
#include <iterator>

#include "tests/cam_format.h"

namespace {

void PutU16(Bytes& to, uint32_t value)
{
    to.push_back(static_cast<unsigned char>(value >> 8));
    to.push_back(static_cast<unsigned char>(value));
}

void PutU32(Bytes& to, uint32_t value)
{
    PutU16(to, value >> 16);
    PutU16(to, value & 0xFFFF);
}

void Append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

Bytes CamBytes(const std::vector<CamPart>& parts, int count)
{
    static_assert(cam_format::kEntryCountSize == 2 && cam_format::kEntryTagSize == 2 &&
                      cam_format::kEntryLengthSize == 4,
                  "the numbers are written as the format sizes them");
    Bytes cam(std::begin(cam_format::kMagic), std::end(cam_format::kMagic));
    PutU16(cam, count < 0 ? static_cast<uint32_t>(parts.size()) : static_cast<uint32_t>(count));
    for (size_t i = 0; i < parts.size(); ++i) {
        const CamPart& part = parts[i];
        PutU16(cam, part.tag);
        PutU32(cam, part.claimedLength < 0 ? static_cast<uint32_t>(part.data.size())
                                           : static_cast<uint32_t>(part.claimedLength));
        // The bytes no reader looks at: something other than zeros.
        for (size_t j = 0; j < cam_format::kEntryUnreadSize; ++j) {
            cam.push_back(
                static_cast<unsigned char>(0xA5 ^ (i * cam_format::kEntryUnreadSize + j)));
        }
    }
    for (const CamPart& part : parts) Append(cam, part.data);
    return cam;
}

Bytes ScansDataClaiming(uint16_t components, const uint16_t (&lengths)[3], const Bytes& body)
{
    static_assert(cam_format::kScansComponentCountSize == 2 && cam_format::kScansLengthSize == 2,
                  "the head is written as the format sizes it");
    Bytes data;
    PutU16(data, components);
    for (uint16_t length : lengths) PutU16(data, length);
    Append(data, body);
    return data;
}

Bytes ScansData(uint16_t components, const Bytes& q0, const Bytes& q1, const Bytes (&scans)[3])
{
    const uint16_t lengths[3] = {static_cast<uint16_t>(scans[0].size()),
                                 static_cast<uint16_t>(scans[1].size()),
                                 static_cast<uint16_t>(scans[2].size())};
    Bytes body = q0;
    Append(body, q1);
    for (const Bytes& scan : scans) Append(body, scan);
    return ScansDataClaiming(components, lengths, body);
}

Pieces LoadPieces(const std::string& name)
{
    Pieces pieces;
    pieces.q0 = ReadWholeFile(TestDataPath(name + ".q0"));
    pieces.q1 = ReadWholeFile(TestDataPath(name + ".q1"));
    for (int i = 0; i < 3; ++i)
        pieces.scans[i] = ReadWholeFile(TestDataPath(name + ".scan" + std::to_string(i + 1)));
    return pieces;
}

Bytes PictureScans(const std::string& name)
{
    const Pieces pieces = LoadPieces(name);
    return ScansData(cam_format::kScansComponents, pieces.q0, pieces.q1, pieces.scans);
}

Bytes WholeJpeg()
{
    return ReadWholeFile(TestDataPath("bands.jpg"));
}

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written =
        bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}
