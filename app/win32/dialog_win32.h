// The Main dialog's procedure for DialogBoxParamA.
#pragma once

#include "platform/win32_headers.h"

namespace tolvenek {

// The one trampoline from Win32 into the dialog logic (app/main_dialog.h).
// No exception leaves it.
INT_PTR CALLBACK MainDialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tolvenek
