// ImageListHolder: owns one image list and destroys it with itself.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/object.h"

class ImageListHolder : public Object {
public:
    // Takes ownership of an existing list (or none).
    explicit ImageListHolder(HIMAGELIST images);
    // Creates the list with ImageList_Create; the handle is none when that fails.
    ImageListHolder(int width, int height, UINT flags, int initial, int grow);
    ~ImageListHolder() override;

    HIMAGELIST Handle() const { return images_; }

    // Appends a copy of the icon; returns its index or -1.
    int AddIcon(HICON icon);
    int GetImageCount() const;

private:
    HIMAGELIST images_;
};
