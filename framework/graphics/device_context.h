// DeviceContext: holds one device context and puts back, when it is done, every object
// that was selected into it through Select.
#pragma once

#include <windows.h>

#include "framework/object.h"

class DeviceContext : public Object {
public:
    DeviceContext();
    explicit DeviceContext(HDC context);
    ~DeviceContext() override;

    HDC Handle() const { return context_; }

    // Selects an object; the first object replaced of each kind is restored later.
    HGDIOBJ Select(HGDIOBJ object);
    // Puts the original objects back; a holder that releases its context calls this first.
    void RestoreSelections();

protected:
    void SetHandle(HDC context) { context_ = context; }

private:
    static constexpr int kKinds = 4;  // font, brush, pen, bitmap

    HDC context_;
    HGDIOBJ original_[kKinds];
};
