// The window map and the framework window procedure.
#include "framework/window_map.h"

#include <new>

#include "framework/containers/hash_table.h"
#include "framework/records.h"
#include "framework/window.h"

namespace {

HashTable* windowMap = nullptr;

}  // namespace

bool CreateWindowMap()
{
    if (windowMap != nullptr) {
        return false;
    }
    HashTable* map = new (std::nothrow) HashTable(kWindowMapBuckets);
    if (map == nullptr) {
        return false;
    }
    if (!map->IsValid()) {
        delete map;
        return false;
    }
    windowMap = map;
    return true;
}

void DestroyWindowMap()
{
    delete windowMap;
    windowMap = nullptr;
}

HashTable* WindowMap()
{
    return windowMap;
}

bool EnterWindowObject(HWND handle, Window* object)
{
    return windowMap != nullptr && windowMap->InsertPointer(handle, object);
}

void RemoveWindowObject(HWND handle)
{
    if (windowMap != nullptr) {
        windowMap->RemovePointer(handle);
    }
}

Window* FindWindowObject(HWND handle)
{
    if (windowMap == nullptr || handle == nullptr) {
        return nullptr;
    }
    return static_cast<Window*>(windowMap->FindPointer(handle));
}

LRESULT CALLBACK FrameworkWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageRecord record(message, wParam, lParam);
    Window* object = FindWindowObject(handle);
    if (object != nullptr && IsWindow(object->Handle())) {
        return object->HandleMessage(record);
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}
