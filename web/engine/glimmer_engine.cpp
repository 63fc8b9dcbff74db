// The conversion engine's entry points for the browser: the page's worker hands over one CAM
// file's bytes, the engine writes the JPEG through stdio streams that read and write JavaScript
// memory, and the worker gets the engine's own classification of the result back.
#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "conversion/cam_conversion.h"
#include "conversion/output_name.h"

// The worker keeps the CAM file in `Module.camBytes` (a Uint8Array) for the duration of one
// call, and collects the output in `Module.jpegParts`; neither ever lives in the wasm heap as a
// whole, so a 64 MiB file costs the heap no more than a small one.
EM_JS(size_t, ReadCamBytes, (double offset, unsigned char* buffer, size_t size), {
    const cam = Module.camBytes;
    const count = Math.max(0, Math.min(size, cam.length - offset));
    HEAPU8.set(cam.subarray(offset, offset + count), buffer);
    return count;
});

EM_JS(void, WriteJpegBytes, (const unsigned char* buffer, size_t size),
      { Module.jpegParts.push(HEAPU8.slice(buffer, buffer + size)); });

namespace {

// Big enough that a picture of a few hundred kilobytes crosses into JavaScript in a few calls.
constexpr size_t kStreamBufferSize = 64 * 1024;

char camBuffer[kStreamBufferSize];
char jpegBuffer[kStreamBufferSize];

// One batch's directory, reused for every file as the window program's run does.
CamDirectory directory;

struct CamSource {
    uint64_t size;
    uint64_t position;
};

ssize_t ReadCam(void* cookie, char* buffer, size_t size)
{
    CamSource& source = *static_cast<CamSource*>(cookie);
    if (source.position >= source.size) return 0;
    const size_t got = ReadCamBytes(static_cast<double>(source.position),
                                    reinterpret_cast<unsigned char*>(buffer), size);
    source.position += got;
    return static_cast<ssize_t>(got);
}

// Positions past the end are allowed, as on a file: reads there deliver nothing.
int SeekCam(void* cookie, off_t* offset, int whence)
{
    CamSource& source = *static_cast<CamSource*>(cookie);
    int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<int64_t>(source.position);
    if (whence == SEEK_END) base = static_cast<int64_t>(source.size);
    const int64_t target = base + *offset;
    if (target < 0 || (*offset > 0 && target < base)) return -1;
    source.position = static_cast<uint64_t>(target);
    *offset = target;
    return 0;
}

ssize_t WriteJpeg(void*, const char* buffer, size_t size)
{
    WriteJpegBytes(reinterpret_cast<const unsigned char*>(buffer), size);
    return static_cast<ssize_t>(size);
}

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

// Converts the CAM file of `camSize` bytes in Module.camBytes; the output's bytes are in
// Module.jpegParts afterwards. Returns the result, for the two functions below.
EMSCRIPTEN_KEEPALIVE int glimmer_convert(double camSize)
{
    CamSource source = {static_cast<uint64_t>(camSize), 0};
    FILE* cam = fopencookie(&source, "rb", {ReadCam, nullptr, SeekCam, nullptr});
    FILE* out = fopencookie(nullptr, "wb", {nullptr, WriteJpeg, nullptr, nullptr});
    if (cam == nullptr || out == nullptr) {
        if (cam != nullptr) fclose(cam);
        if (out != nullptr) fclose(out);
        return static_cast<int>(ConversionResult::OutOfMemory);
    }
    setvbuf(cam, camBuffer, _IOFBF, sizeof camBuffer);
    setvbuf(out, jpegBuffer, _IOFBF, sizeof jpegBuffer);
    const ConversionResult result = CloseOutput(out, ConvertCamStream(cam, out, directory));
    fclose(cam);
    return static_cast<int>(result);
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
