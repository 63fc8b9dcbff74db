// Streams over handles: a C runtime descriptor made from the handle, and a stream over that.
#include "winfile/handle_streams.h"

#include <fcntl.h>
#include <io.h>

#include <cstdint>

namespace {

constexpr size_t kStreamBuffer = 64 * 1024;

}  // namespace

FILE* StreamOwningHandle(HANDLE file, bool forWriting)
{
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file),
                                           (forWriting ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(file);
        return nullptr;
    }
    FILE* stream = _fdopen(descriptor, forWriting ? "wb" : "rb");
    if (stream == nullptr) {
        _close(descriptor);
        return nullptr;
    }
    setvbuf(stream, nullptr, _IOFBF, kStreamBuffer);
    return stream;
}

FILE* OpenStreamOver(HANDLE file)
{
    HANDLE duplicate = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &duplicate, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return nullptr;
    return StreamOwningHandle(duplicate, true);
}
