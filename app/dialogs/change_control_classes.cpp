#include "app/dialogs/change_control_classes.h"

#include "winui/common_controls.h"

void RegisterChangeControlClasses() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS;
  InitCommonControlsEx(&controls);
}
