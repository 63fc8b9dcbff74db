// FileEntry: owns heap copies of the file's name and folder.
#include "filelist/file_entry.h"

#include <cstdlib>
#include <cwchar>
#include <new>

#include "conversion/win32/path_helpers.h"

FileEntry* FileEntry::Create(const wchar_t* name, const wchar_t* folder, uint64_t size)
{
    wchar_t* nameCopy = _wcsdup(name);
    wchar_t* folderCopy = _wcsdup(folder);
    FileEntry* entry = nullptr;
    if (nameCopy != nullptr && folderCopy != nullptr)
        entry = new (std::nothrow) FileEntry(nameCopy, folderCopy, size);
    if (entry == nullptr) {
        free(nameCopy);
        free(folderCopy);
    }
    return entry;
}

FileEntry::FileEntry(wchar_t* name, wchar_t* folder, uint64_t size)
    : name_(name), folder_(folder), size_(size)
{
}

FileEntry::~FileEntry()
{
    free(name_);
    free(folder_);
}

std::wstring FileEntry::FullPath() const
{
    return JoinPath(folder_, name_);
}
