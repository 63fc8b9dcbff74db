// View: a window that turns its children's notifications into framework events, scrolls
// its own content extent with its scroll bars and remembers its focused child. A view made
// with WS_EX_CONTROLPARENT also takes the keyboard as a dialog does (Application's dialog
// manager routing): Tab moves through its tab stops, mnemonics press buttons, Enter presses
// the focused push button, and the focus starts on its first tab stop.
#pragma once

#include <windows.h>

#include "framework/window.h"

// The scroll state of one bar as a view reads it before a scroll request.
struct BarState {
    int position;
    int minimum;
    int maximum;
    int page;
};

// The position a scroll request (SB_* code, thumb position from the high word) moves a
// view's own bar to. False when the request changes nothing: a thumb drag while the view
// does not track the thumb.
bool ViewScrollTarget(int request, int thumb, const BarState& bar, bool trackThumb, int* target);

class View : public Window {
public:
    View(Window* parent, const wchar_t* title, AttributeList& attributes);
    explicit View(Window* parent);
    ~View() override;

    void Configure(const AttributeList& attributes) override;

    // Virtual operations added by views, in their fixed slot order.
    virtual LRESULT HandleActivate(MessageRecord& record);
    virtual LRESULT HandleCommand(MessageRecord& record);
    virtual LRESULT HandleNotify(MessageRecord& record);
    virtual LRESULT HandleDrawItem(MessageRecord& record);
    virtual LRESULT HandleHScroll(MessageRecord& record);
    virtual LRESULT HandleVScroll(MessageRecord& record);
    virtual void Show();
    // Non-zero: the message loop must not translate and dispatch the message.
    virtual int PreTranslate(MSG* message);

    // Sets the size of the scrollable content and fits the scroll ranges to it.
    void SetExtent(int width, int height);

    HWND SavedFocus() const { return savedFocus_; }
    // The child that gets the focus when the view is next activated.
    void RememberFocus(HWND child) { savedFocus_ = child; }
    // True when the view takes the keyboard as a dialog does (WS_EX_CONTROLPARENT).
    bool IsDialogHost() const;
    int ContentWidth() const { return contentWidth_; }
    int ContentHeight() const { return contentHeight_; }
    int TrackThumb() const { return trackThumb_; }

protected:
    // Both scroll ranges from the content extent and the client area.
    void Relayout();

private:
    void BindMessages(bool creating);
    void ConfigureBar(const AttributeList& attributes, int bar, int32_t minKey, int32_t maxKey,
                      int32_t posKey);
    LRESULT HandleScroll(MessageRecord& record, int bar, int32_t event);
    // The dialog manager's requests to a host that is no dialog: move the focus
    // (WM_NEXTDLGCTL), and name the default push button (DM_GETDEFID).
    LRESULT MoveFocus(MessageRecord& record);
    LRESULT DefaultButton(MessageRecord& record);
    LRESULT PassFocus(MessageRecord& record);
    void ScrollHorizontally(EventRecord& record);
    void ScrollVertically(EventRecord& record);

    HWND savedFocus_;
    int contentWidth_;
    int contentHeight_;
    int trackThumb_;
};
