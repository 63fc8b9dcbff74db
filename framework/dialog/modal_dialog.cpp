// ModalDialog: the modal run, the dialog procedure that binds the dialog window to its
// object, and the translation of the template controls' commands and notifications.
#include "framework/dialog/modal_dialog.h"

#include "framework/handler_entry.h"
#include "framework/instance.h"
#include "framework/keys.h"
#include "framework/notification_route.h"
#include "framework/window_map.h"

namespace {

ModalDialog* beingCreated = nullptr;

// What DialogBoxIndirectParamW reports for a dialog it cannot create.
constexpr INT_PTR kDialogFailed = -1;

}  // namespace

ModalDialog* DialogBeingCreated()
{
    return beingCreated;
}

ModalDialog::ModalDialog(Window* owner, const AttributeList& attributes)
    : PopupView(owner),
      templateName_(reinterpret_cast<const wchar_t*>(attributes.Find(Key::Template))),
      initHandler_(reinterpret_cast<EventHandlerEntry*>(attributes.Find(Key::InitHandler)))
{
    LONG_PTR focusId = 0;
    SetFocusId(attributes.Get(Key::FocusId, &focusId) ? static_cast<int32_t>(focusId) : IDOK);
    AddMessageHandler(WM_INITDIALOG, this, ForwardMessage<ModalDialog, &ModalDialog::OnInitDialog>,
                      0);
    AddEventHandler(Key::OnAction, IDCANCEL, this, ClosePopup, IDCANCEL);
}

ModalDialog::~ModalDialog()
{
    ReleaseWindow();
    if (beingCreated == this) {
        beingCreated = nullptr;
    }
}

INT_PTR ModalDialog::RunModal()
{
    beingCreated = this;
    const HINSTANCE instance = ProgramInstance();
    const HRSRC resource =
        templateName_ != nullptr ? FindResourceW(instance, templateName_, RT_DIALOG) : nullptr;
    const HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
    const auto* dialogTemplate =
        loaded != nullptr ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    // Without a template there is nothing the system could show; it is not asked to.
    INT_PTR result = kDialogFailed;
    if (dialogTemplate != nullptr) {
        const HWND owner = Parent() != nullptr ? Parent()->Handle() : nullptr;
        result = DialogBoxIndirectParamW(instance, dialogTemplate, owner, ModalDialogProc, 0);
    }
    if (beingCreated == this) {
        beingCreated = nullptr;
    }
    return result;
}

LRESULT ModalDialog::Popup()
{
    return RunModal();
}

void ModalDialog::Hide(LRESULT result)
{
    EndModal(result);
}

void ModalDialog::EndModal(INT_PTR value)
{
    EndDialog(Handle(), value);
}

LRESULT ModalDialog::OnInitDialog(MessageRecord& record)
{
    FocusInitialControl();
    CenterWindow(Handle());
    if (initHandler_ != nullptr) {
        EventRecord event(reinterpret_cast<LONG_PTR>(this), &record);
        event.extra = initHandler_->extra;
        initHandler_->callback(initHandler_->receiver, event);
    }
    return 0;
}

LRESULT ModalDialog::HandleCommand(MessageRecord& record)
{
    const UINT_PTR id = LOWORD(record.wParam);
    if (record.lParam != 0) {
        RouteControlCommand(*this, record, reinterpret_cast<HWND>(record.lParam),
                            UnwrappedChildren::ByClassName);
    } else if (id == IDCANCEL) {
        EndModal(IDCANCEL);
    } else if (id == IDOK) {
        DispatchEvent(Key::OnAction, id, 0, &record);
    } else {
        DispatchEvent(Key::OnMenu, id, 0, &record);
    }
    return TRUE;
}

INT_PTR CALLBACK ModalDialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (beingCreated != nullptr && message == WM_INITDIALOG) {
        EnterWindowObject(handle, beingCreated);
        beingCreated->SetHandle(handle);
        beingCreated = nullptr;
    }
    Window* object = FindWindowObject(handle);
    if (object == nullptr) {
        return FALSE;
    }
    if (message == WM_DESTROY) {
        RemoveWindowObject(handle);
        // Between runs the object has no window: a later handle of the same value must
        // never be mistaken for this dialog's.
        if (object->Handle() == handle) {
            object->SetHandle(nullptr);
        }
        return FALSE;
    }
    MessageRecord record(message, wParam, lParam);
    return DialogProcedureResult(handle, message, object->HandleMessage(record));
}
