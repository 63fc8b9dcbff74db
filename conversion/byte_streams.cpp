// The buffered copy every output can fall back on, and the ends over stdio streams.
#include "conversion/byte_streams.h"

#include <cstdint>

namespace {

constexpr size_t kCopyBufferSize = 256;

}  // namespace

bool JpegOutput::Copy(CamInput& input, uint32_t count, uint64_t& copied)
{
    unsigned char buffer[kCopyBufferSize];
    while (count > 0) {
        const size_t wanted = count < sizeof buffer ? count : sizeof buffer;
        const size_t got = input.Read(buffer, wanted);
        if (got == 0) {
            return true;
        }
        if (!Write(buffer, got)) {
            return false;
        }
        copied += got;
        count -= static_cast<uint32_t>(got);
    }
    return true;
}

size_t FileCamInput::Read(void* buffer, size_t size)
{
    return fread(buffer, 1, size, cam_);
}

// The distance may exceed what `long` holds (32 bits on Windows). A failed seek leaves the
// stream at its end, so that what follows reads nothing rather than bytes of some other entry.
void FileCamInput::Skip(uint64_t distance)
{
    if (distance == 0) {
        return;
    }
#ifdef _WIN32
    const bool moved = distance <= static_cast<uint64_t>(INT64_MAX) &&
                       _fseeki64(cam_, static_cast<long long>(distance), SEEK_CUR) == 0;
#else
    const bool moved = distance <= static_cast<uint64_t>(INT64_MAX) &&
                       fseeko(cam_, static_cast<off_t>(distance), SEEK_CUR) == 0;
#endif
    if (!moved) {
        fseek(cam_, 0, SEEK_END);
    }
}

bool FileJpegOutput::Write(const void* bytes, size_t size)
{
    return fwrite(bytes, 1, size, out_) == size;
}

bool FileJpegOutput::Flush()
{
    return fflush(out_) == 0;
}
