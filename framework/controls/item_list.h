// Filling a list-box or combo-box from the item attributes: an array of texts, or one
// text whose pieces are separated by ",".
#pragma once

#include <windows.h>

// Resets the control's items, then adds each of the first count texts in order.
void FillItemsFromArray(HWND control, UINT resetMessage, UINT addMessage, int count,
                        const wchar_t* const* items);

// Resets the control's items, then adds every piece of list cut at each ",", untrimmed;
// the piece after the last "," is added even when empty. Returns false when the working
// copy could not be made (the control is then left empty).
bool FillItemsFromList(HWND control, UINT resetMessage, UINT addMessage, const wchar_t* list);
