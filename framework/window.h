// Window: the framework object that owns (or wraps) one platform window, is built from an
// AttributeList, and dispatches its messages to run-time lists of message and event handlers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/attribute_list.h"
#include "framework/handler_entry.h"
#include "framework/notification_maps.h"
#include "framework/object.h"
#include "framework/records.h"

// Window class names of the framework.
extern const wchar_t kDefaultClassName[];  // "KorvelView"

class Window : public Object {
public:
    // Creates the platform window from the attributes; the list receives the defaults
    // that creation fills in (ClassName, scaled coordinates).
    Window(Window* parent, const wchar_t* title, AttributeList& attributes);
    // Builds the object without a window; the caller sets the handle.
    explicit Window(Window* parent);

    // Virtual operations, in their fixed slot order (slot 0 is the destructor).
    ~Window() override;
    virtual BOOL ClientArea(RECT* rect);
    virtual LONG_PTR OnQuit(LONG_PTR code);
    virtual LRESULT OnDestroy(MessageRecord& record);
    virtual void Configure(const AttributeList& attributes);
    virtual LRESULT DefaultProc(MessageRecord& record);
    virtual LRESULT HandleMessage(MessageRecord& record);
    virtual NotificationMapRef NotificationMap();
    virtual const int32_t* OwnEvents(int32_t* count);
    virtual void AddEventHandler(int32_t event, UINT_PTR source, Object* receiver,
                                 EventCallback callback, LONG_PTR extra);
    virtual void Connect(int32_t event, Object* receiver, EventCallback callback, LONG_PTR extra);
    virtual void Enable();
    virtual void Disable();
    virtual void SetId(int32_t id);

    void AddMessageHandler(UINT message, Object* receiver, MessageCallback callback,
                           LONG_PTR extra);
    // Runs the newest handler of the event bound to the source window, by its handle or by
    // its control ID.
    void DispatchEvent(int32_t event, HWND source, LONG_PTR value, MessageRecord* record);
    // Runs the newest handler of the event bound to the command or control ID (or to 0, which
    // takes every ID). An ID is never taken for a window: the platform accepts short handle
    // values, so an ID could name an unrelated window.
    void DispatchEvent(int32_t event, UINT_PTR id, LONG_PTR value, MessageRecord* record);

    // Posts WM_CLOSE: the window is asked to close once the message at hand is done.
    void RequestClose();
    // The window's font (WM_SETFONT) and text.
    void SetFont(HFONT font, BOOL redraw = TRUE);
    int WindowText(wchar_t* buffer, int size) const;
    // Text and font of a child known by its control ID only, such as a control of a dialog
    // template.
    BOOL SetChildText(int id, const wchar_t* text);
    void SetChildFont(int id, HFONT font, BOOL redraw = TRUE);

    // Geometry relative to the parent object's client area (screen when there is none).
    BOOL GetBounds(int* x, int* y, int* width, int* height) const;
    void MoveTo(int x, int y);
    void Redraw(const RECT* rect);
    void RedrawArea(int x, int y, int width, int height);

    // For each (key, bit): present keys set or clear the bit in GWL_STYLE.
    void ApplyStyleFlags(const AttributeList& attributes, const StyleFlag* table, int32_t count);
    // For each (key, bit): writes 1 or 0 through the attribute's value, a pointer to int.
    void ReadStyleFlags(const AttributeList& attributes, const StyleFlag* table,
                        int32_t count) const;

    HWND Handle() const { return handle_; }
    Window* Parent() const { return parent_; }
    int32_t ControlId() const { return controlId_; }
    int32_t SoftDisable() const { return softDisable_; }
    void SetSoftDisable(int32_t value) { softDisable_ = value; }
    int32_t OwnsHandle() const { return ownsHandle_; }
    void SetOwnsHandle(int32_t value) { ownsHandle_ = value; }
    void SetHandle(HWND handle) { handle_ = handle; }

    EventHandlerList* EventHandlers() const { return eventHandlers_; }
    MessageHandlerList* MessageHandlers() const { return messageHandlers_; }

protected:
    // Keeps the control ID without touching the platform window's own ID.
    void StoreControlId(int32_t id) { controlId_ = id; }
    // Cuts the object off its window while the object is still whole: its handlers are
    // dropped, so none of them runs during or after its destruction; an owned window is
    // destroyed, its last messages getting the object's default processing only; the window
    // map forgets the object. Every destructor of a window class begins with it, so the most
    // derived one does the work. Later calls do nothing.
    void ReleaseWindow();

private:
    void SetWindowId(int32_t id);
    void RunEventHandler(int32_t event, UINT_PTR source, UINT_PTR alias, LONG_PTR value,
                         MessageRecord* record);

    HWND handle_;
    Window* parent_;
    EventHandlerList* eventHandlers_;
    MessageHandlerList* messageHandlers_;
    int32_t softDisable_;
    int32_t ownsHandle_;
    int32_t controlId_;
    bool released_;
};

// Dialog-unit scaling of X, Y, Width and Height with the given base units (low word:
// horizontal, high word: vertical); the results are written back with Set.
void ScaleDialogUnits(AttributeList& attributes, LONG baseUnits);

// Registers the window class that the attributes describe unless it exists already.
// Returns 1 for an existing class, else the atom of the registration (0 on failure).
ATOM RegisterClassFromAttributes(const AttributeList& attributes);
