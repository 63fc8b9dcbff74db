// The two ends of a conversion as the engine sees them: the CAM file, read from a current
// position, and the JPEG file being written. Each program puts its own files behind them;
// the engine brings the ones over stdio streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

class CamInput {
public:
    virtual ~CamInput() = default;
    // Up to `size` bytes from the current position, which moves past them; fewer only where
    // the data ends or cannot be read.
    virtual size_t Read(void* buffer, size_t size) = 0;
    // Moves the position forward; beyond the end of the data, later reads deliver nothing.
    virtual void Skip(uint64_t distance) = 0;
};

class JpegOutput {
public:
    virtual ~JpegOutput() = default;
    // False when not every byte was written.
    virtual bool Write(const void* bytes, size_t size) = 0;
    // Copies `count` bytes from the input's position on, moving it past them; `copied` grows by
    // the bytes that arrived, fewer when the input delivers nothing before the count is
    // reached. False when a write failed. Unless a program knows a faster way, the bytes go
    // through a 256-byte buffer, read again after a short read until nothing comes.
    virtual bool Copy(CamInput& input, uint32_t count, uint64_t& copied);
    // Writes out whatever is still held back; false when that fails.
    virtual bool Flush() = 0;
};

class FileCamInput : public CamInput {
public:
    explicit FileCamInput(FILE* cam) : cam_(cam) {}
    size_t Read(void* buffer, size_t size) override;
    void Skip(uint64_t distance) override;

private:
    FILE* cam_;
};

class FileJpegOutput : public JpegOutput {
public:
    explicit FileJpegOutput(FILE* out) : out_(out) {}
    bool Write(const void* bytes, size_t size) override;
    bool Flush() override;

private:
    FILE* out_;
};
