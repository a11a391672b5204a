// The GUI entry point: the Main dialog, modally; exit code 0.
#include "dialog_win32.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), nullptr,
                  tolvenek::MainDialogProcedure, 0);
  return 0;
}
