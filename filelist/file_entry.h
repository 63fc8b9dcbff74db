// FileEntry: one CAM file found by the search, with the folder it was found in and its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/object.h"

class FileEntry : public Object {
public:
    // Returns none when memory for the copies of the two strings runs out.
    static FileEntry* Create(const wchar_t* name, const wchar_t* folder, uint64_t size);
    ~FileEntry() override;

    const wchar_t* Name() const { return name_; }
    const wchar_t* Folder() const { return folder_; }
    uint64_t Size() const { return size_; }

    // The full path, folder and name joined.
    std::wstring FullPath() const;

private:
    FileEntry(wchar_t* name, wchar_t* folder, uint64_t size);

    wchar_t* name_;
    wchar_t* folder_;
    uint64_t size_;
};
