// The window map and the framework window procedure.
#include "framework/window_map.h"

#include <new>

#include "framework/containers/hash_table.h"
#include "framework/records.h"
#include "framework/window.h"

namespace {

HashTable* g_windowMap = nullptr;

}  // namespace

bool CreateWindowMap()
{
    if (g_windowMap != nullptr) {
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
    g_windowMap = map;
    return true;
}

void DestroyWindowMap()
{
    delete g_windowMap;
    g_windowMap = nullptr;
}

HashTable* WindowMap()
{
    return g_windowMap;
}

bool EnterWindowObject(HWND handle, Window* object)
{
    return g_windowMap != nullptr && g_windowMap->InsertPointer(handle, object);
}

void RemoveWindowObject(HWND handle)
{
    if (g_windowMap != nullptr) {
        g_windowMap->RemovePointer(handle);
    }
}

Window* FindWindowObject(HWND handle)
{
    if (g_windowMap == nullptr || handle == nullptr) {
        return nullptr;
    }
    return static_cast<Window*>(g_windowMap->FindPointer(handle));
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
