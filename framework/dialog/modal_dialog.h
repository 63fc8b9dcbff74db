// ModalDialog: a dialog built by the system from a dialog template of the program's
// resources and run in the system's modal loop, its window joined to the framework so that
// its messages reach the object's message handlers and event bindings.
#pragma once

#include <windows.h>

#include "framework/popup_view.h"

class EventHandlerEntry;

class ModalDialog : public PopupView {
public:
    // Reads Template, FocusId (1 when absent) and InitHandler; no window exists until a run.
    ModalDialog(Window* owner, const AttributeList& attributes);
    ~ModalDialog() override;

    // Cancel without a control ends the dialog at once; OK without a control is an action
    // of ID 1; other commands without a control are menu commands.
    LRESULT HandleCommand(MessageRecord& record) override;
    // Popup runs the dialog modally; Hide ends it with the given result.
    LRESULT Popup() override;
    void Hide(LRESULT result) override;

    // Dialog start: initial focus, centring over the owner, then the init handler.
    virtual LRESULT OnInitDialog(MessageRecord& record);
    // Ends the modal loop with the value; derived dialogs may choose the result themselves.
    virtual void EndModal(INT_PTR value);

    // The value given to EndModal (1 for OK and 2 for Cancel by convention), or the
    // system's failure value when the template cannot be shown.
    INT_PTR RunModal();

    const wchar_t* TemplateName() const { return templateName_; }
    EventHandlerEntry* InitHandler() const { return initHandler_; }

private:
    const wchar_t* templateName_;
    EventHandlerEntry* initHandler_;
};

// The dialog whose modal loop is starting and which has not yet had WM_INITDIALOG.
ModalDialog* DialogBeingCreated();

// The dialog procedure of every modal dialog.
INT_PTR CALLBACK ModalDialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
