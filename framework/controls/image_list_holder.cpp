// ImageListHolder: image list ownership.
#include "framework/controls/image_list_holder.h"

#include <cassert>

ImageListHolder::ImageListHolder(HIMAGELIST images) : images_(images) {}

ImageListHolder::ImageListHolder(int width, int height, UINT flags, int initial, int grow)
    : images_(::ImageList_Create(width, height, flags, initial, grow))
{
}

ImageListHolder::~ImageListHolder()
{
    if (images_ != nullptr) ::ImageList_Destroy(images_);
}

int ImageListHolder::AddIcon(HICON icon)
{
    assert(images_ != nullptr);
    return ::ImageList_ReplaceIcon(images_, -1, icon);
}

int ImageListHolder::GetImageCount() const
{
    assert(images_ != nullptr);
    return ::ImageList_GetImageCount(images_);
}
