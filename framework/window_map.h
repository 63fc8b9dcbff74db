// The window map: the process-wide table from window handle to the framework object that
// owns or wraps that window, and the framework window procedure that dispatches through it.
#pragma once

#include <windows.h>

class HashTable;
class Window;

constexpr int kWindowMapBuckets = 113;

// The application creates the map at start-up and destroys it at the end.
// Creating returns false when the map cannot be made (or already exists).
bool CreateWindowMap();
void DestroyWindowMap();
HashTable* WindowMap();

// Without a map, entering does nothing and look-ups find nothing.
bool EnterWindowObject(HWND handle, Window* object);
void RemoveWindowObject(HWND handle);
Window* FindWindowObject(HWND handle);

LRESULT CALLBACK FrameworkWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
