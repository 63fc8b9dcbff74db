// The conversion engine's entry points for the browser: the page's worker lends the engine a
// CAM file to read from and a place to put the JPEG, and gets the engine's own classification
// of the result back, with the output's CRC-32 for the ZIP file the page may make of it.
#include <emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "conversion/byte_streams.h"
#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"
#include "conversion/rules.h"

// The worker's `Module.camSource.read(position, size)` gives the CAM file's bytes from a
// position on, reading only the parts the engine asks for; fewer than `size` only at the
// file's end or when the file cannot be read. `Module.jpegSink.write(bytes)` takes the
// output's bytes in order. Neither file ever lives in the engine's memory as a whole.
EM_JS(size_t, ReadCamBytes, (double position, unsigned char* buffer, size_t size), {
    const bytes = Module.camSource.read(position, size);
    HEAPU8.set(bytes, buffer);
    return bytes.length;
});

EM_JS(void, WriteJpegBytes, (const unsigned char* buffer, size_t size),
      { Module.jpegSink.write(HEAPU8.subarray(buffer, buffer + size)); });

namespace {

// Big enough that a picture of a few hundred kilobytes crosses into JavaScript in a few calls.
constexpr size_t kChunkSize = 64 * 1024;

// The CRC-32 of ISO 3309 (the ZIP format's), eight bytes a step ("slicing by eight"): table k
// holds the CRC of a byte value followed by k zero bytes.
class Crc32 {
public:
    Crc32()
    {
        for (uint32_t value = 0; value < 256; ++value) {
            uint32_t crc = value;
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0);
            tables_[0][value] = crc;
        }
        for (uint32_t value = 0; value < 256; ++value) {
            for (int k = 1; k < 8; ++k) {
                const uint32_t previous = tables_[k - 1][value];
                tables_[k][value] = (previous >> 8) ^ tables_[0][previous & 0xFF];
            }
        }
    }

    uint32_t Update(uint32_t crc, const unsigned char* bytes, size_t size) const
    {
        crc = ~crc;
        for (; size >= 8; size -= 8, bytes += 8) {
            const uint32_t low = crc ^ (bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                        static_cast<uint32_t>(bytes[3]) << 24);
            crc = tables_[7][low & 0xFF] ^ tables_[6][(low >> 8) & 0xFF] ^
                  tables_[5][(low >> 16) & 0xFF] ^ tables_[4][low >> 24] ^ tables_[3][bytes[4]] ^
                  tables_[2][bytes[5]] ^ tables_[1][bytes[6]] ^ tables_[0][bytes[7]];
        }
        for (; size > 0; --size, ++bytes) crc = tables_[0][(crc ^ *bytes) & 0xFF] ^ (crc >> 8);
        return ~crc;
    }

private:
    uint32_t tables_[8][256];
};

const Crc32 crc32;

class PageCamInput : public CamInput {
public:
    explicit PageCamInput(uint64_t size) : size_(size) {}

    size_t Read(void* buffer, size_t size) override
    {
        if (position_ >= size_ || size == 0) return 0;
        const size_t got =
            ReadCamBytes(static_cast<double>(position_), static_cast<unsigned char*>(buffer), size);
        position_ += got;
        return got;
    }

    void Skip(uint64_t distance) override
    {
        position_ = distance >= size_ - position_ ? size_ : position_ + distance;
    }

private:
    uint64_t size_;
    uint64_t position_ = 0;
};

// Gathers small writes (the JFIF segments) into chunks, and copies picture data a chunk at a
// time rather than through the engine's small default buffer.
class PageJpegOutput : public JpegOutput {
public:
    bool Write(const void* bytes, size_t size) override
    {
        const unsigned char* from = static_cast<const unsigned char*>(bytes);
        crc_ = crc32.Update(crc_, from, size);
        while (size > 0) {
            const size_t part = size < kChunkSize - used_ ? size : kChunkSize - used_;
            memcpy(chunk_ + used_, from, part);
            used_ += part;
            from += part;
            size -= part;
            if (used_ == kChunkSize) Flush();
        }
        return true;
    }

    bool Copy(CamInput& input, uint32_t count, uint64_t& copied) override
    {
        while (count > 0) {
            const size_t wanted = count < kChunkSize ? count : kChunkSize;
            const size_t got = input.Read(copyBuffer_, wanted);
            if (got == 0) return true;
            Write(copyBuffer_, got);
            copied += got;
            count -= static_cast<uint32_t>(got);
        }
        return true;
    }

    bool Flush() override
    {
        if (used_ > 0) WriteJpegBytes(chunk_, used_);
        used_ = 0;
        return true;
    }

    uint32_t Crc() const { return crc_; }

private:
    static unsigned char chunk_[kChunkSize];
    static unsigned char copyBuffer_[kChunkSize];
    size_t used_ = 0;
    uint32_t crc_ = 0;
};

unsigned char PageJpegOutput::chunk_[kChunkSize];
unsigned char PageJpegOutput::copyBuffer_[kChunkSize];

// One batch's directory, reused for every file as the window program's run does.
CamDirectory directory;
uint32_t lastCrc = 0;

const char* ResultName(ConversionResult result)
{
    switch (result) {
        case ConversionResult::Converted:
            return "Converted";
        case ConversionResult::SourceEnded:
            return "SourceEnded";
        case ConversionResult::NoPicture:
            return "NoPicture";
        case ConversionResult::NotCamFile:
            return "NotCamFile";
        case ConversionResult::UnusableTables:
            return "UnusableTables";
        case ConversionResult::WriteFailed:
            return "WriteFailed";
        case ConversionResult::OutOfMemory:
            return "OutOfMemory";
    }
    return "";
}

}  // namespace

extern "C" {

// Converts the CAM file of `camSize` bytes that Module.camSource reads, into Module.jpegSink.
// Returns the result, for the functions below.
EMSCRIPTEN_KEEPALIVE int glimmer_convert(double camSize)
{
    PageCamInput cam(static_cast<uint64_t>(camSize));
    PageJpegOutput out;
    ConversionResult result = ReadDirectory(directory, cam) ? WritePicture(directory, cam, out)
                                                            : DirectoryFailure(directory);
    out.Flush();
    lastCrc = out.Crc();
    return static_cast<int>(result);
}

// The CRC-32 of the last conversion's output.
EMSCRIPTEN_KEEPALIVE uint32_t glimmer_output_crc()
{
    return lastCrc;
}

// The result's name ("Converted", "NotCamFile", ...), which the page's texts are keyed by.
EMSCRIPTEN_KEEPALIVE const char* glimmer_result_name(int result)
{
    return ResultName(static_cast<ConversionResult>(result));
}

// Whether a result's output is a picture to keep, by the engine's one rule.
EMSCRIPTEN_KEEPALIVE int glimmer_keeps_output(int result)
{
    return KeepsOutput(static_cast<ConversionResult>(result));
}

// The output file's name for a CAM file's name or path (UTF-8).
EMSCRIPTEN_KEEPALIVE const char* glimmer_output_name(const char* sourcePath)
{
    static std::string name;
    name = OutputName(sourcePath);
    return name.c_str();
}
}
