// The soft-disabled state of a control: instead of being disabled, the control is
// subclassed and its input filtered, so it keeps its enabled look, takes neither focus nor
// keys, and its mouse input goes to the parent window as if aimed at the parent.
#pragma once

#include "framework/control.h"

// Enable and Disable of a control that supports the state: with the control's soft-disable
// member 0 these are Window's; otherwise Disable subclasses and Enable removes the subclass.
void EnableSoftly(Control& control);
void DisableSoftly(Control& control);

// DefaultProc of such a control: the input filter while subclassed under a parent object,
// else Control's DefaultProc.
LRESULT SoftDisabledDefaultProc(Control& control, MessageRecord& record);
