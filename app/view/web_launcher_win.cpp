// shellapi.h needs the declarations of windows.h first.
#include <windows.h>

#include <shellapi.h>

#include <atomic>

#include "app/view/web_launcher.h"

namespace {

void ShellLaunch(void* owner, const WebLaunch& launch) {
  ShellExecuteW(static_cast<HWND>(owner), nullptr, launch.file.c_str(),
                launch.parameters.empty() ? nullptr : launch.parameters.c_str(),
                nullptr, SW_SHOWNORMAL);
}

std::atomic<WebLauncher> installed{nullptr};

}  // namespace

std::wstring ResolveBrowserPath() {
  using NativeInfo = void(WINAPI*)(SYSTEM_INFO*);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto getNativeSystemInfo = reinterpret_cast<NativeInfo>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")));
  if (!getNativeSystemInfo) return BrowserPathFor(-1);
  SYSTEM_INFO info{};
  getNativeSystemInfo(&info);
  return BrowserPathFor(info.wProcessorArchitecture);
}

WebLauncher SetWebLauncher(WebLauncher launcher) {
  return installed.exchange(launcher);
}

void OpenWebPage(void* owner, const std::wstring& browserPath,
                 const std::wstring& ipText, const std::wstring& portText) {
  const DWORD attributes = GetFileAttributesW(browserPath.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES &&
                      !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  const WebLaunch launch =
      ChooseWebLaunch(browserPath, exists, WebPageAddress(ipText, portText));
  const WebLauncher launcher = installed.load();
  (launcher ? launcher : ShellLaunch)(owner, launch);
}
