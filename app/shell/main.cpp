#include <objbase.h>
#include <windows.h>

#include "app/shell/application.h"
#include "winui/common_controls.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&controls);
  const int exitCode = RunApplication(showCommand);
  CoUninitialize();
  return exitCode;
}
