// PopupView: a popup window whose messages arrive through a dialog procedure, shown with
// Popup and hidden with Hide; the base of the modal dialogs. Also the centring of a window
// over its parent and the ready-made callbacks that open and close popups from events.
#pragma once

#include <windows.h>

#include "framework/view.h"

// Window class name of popup views: a dialog class of the framework's own.
extern const wchar_t kPopupViewClassName[];  // "PopupView"

class PopupView : public View {
public:
    PopupView(Window* parent, const wchar_t* title, AttributeList& attributes);
    explicit PopupView(Window* parent);
    ~PopupView() override;

    // Messages no handler takes are left to the dialog manager.
    LRESULT DefaultProc(MessageRecord& record) override;
    // A popup has no control ID of its own window; the ID is only kept.
    void SetId(int32_t id) override;
    // What the controls of a dialog template send, which have no framework objects, is
    // turned into events by the controls' window class names.
    LRESULT HandleCommand(MessageRecord& record) override;
    LRESULT HandleNotify(MessageRecord& record) override;
    LRESULT HandleDrawItem(MessageRecord& record) override;

    virtual LRESULT HandleClose(MessageRecord& record);
    virtual LRESULT Popup();
    virtual void Hide(LRESULT result);

    int32_t FocusId() const { return focusId_; }
    void SetFocusId(int32_t id) { focusId_ = id; }
    Window* Owner() const { return owner_; }
    void SetOwner(Window* owner) { owner_ = owner; }

    // Gives the focus to the control with the focus ID, when there is one.
    void FocusInitialControl();

private:
    int32_t focusId_;
    Window* owner_;
};

// The dialog procedure of popup views: the window map's object handles the message.
INT_PTR CALLBACK PopupDialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// Event callbacks for binding popups (receiver) to events: OpenPopup runs Popup and
// stores its result in the event's result; ClosePopup runs Hide with the binding's extra.
int OpenPopup(Object* receiver, EventRecord& record);
int ClosePopup(Object* receiver, EventRecord& record);

// Where a window of the given rectangle goes when centred over its parent's rectangle
// (none: the top-left corner) on a screen of the given size. On a screen at most 240
// pixels wide the parent is taken to end 106 pixels above the bottom of the screen.
POINT CenteredPosition(const RECT& window, const RECT* parent, SIZE screen);
// Centres the window over GetParent (its owner for a popup) on the given screen, or on
// the real screen.
void CenterWindow(HWND window, SIZE screen);
void CenterWindow(HWND window);
