#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/engine/notify.h"

#include "winui/common_controls.h"

namespace {

// No test of the shell expects a message for the user; one that comes must
// not wait for a click.
void FailOnNotice(const std::wstring& text, const std::wstring&, void*) {
  ADD_FAILURE() << "unexpected notice: "
                << std::string(text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&controls);
  SetUserNotifier(FailOnNotice);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
