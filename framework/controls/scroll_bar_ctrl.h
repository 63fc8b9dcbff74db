// ScrollBarCtrl: the "ScrollBar" control with its own line and page steps, the scroll
// requests that move it, and the soft-disabled state.
#pragma once

#include "framework/control.h"

class ScrollBarCtrl : public Control {
public:
    static constexpr int kDefaultPageStep = 4;
    static constexpr int kDefaultLineStep = 1;

    // Reads BarPage and BarLine, then BarMin, BarMax and BarPos for the bar itself.
    ScrollBarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ScrollBarCtrl(Window* parent, HWND existing);
    ~ScrollBarCtrl() override;

    LRESULT DefaultProc(MessageRecord& record) override;
    void Enable() override;
    void Disable() override;

    // Moves the bar as a WM_HSCROLL or WM_VSCROLL request asks; returns old minus new
    // position.
    LONG_PTR ScrollRequest(const MessageRecord& record);

    int PageStep() const { return pageStep_; }
    int LineStep() const { return lineStep_; }

    int GetPos() const;
    int SetPos(int position, BOOL redraw = TRUE);
    BOOL GetRange(int* minimum, int* maximum) const;
    int SetRange(int minimum, int maximum, BOOL redraw = TRUE);

private:
    int pageStep_;
    int lineStep_;
};
