// The Windows side of opening a web page.
#pragma once

#include <string>

#include "core/devices/web_page.h"

// Resolves the browser path once, from GetNativeSystemInfo looked up at run
// time in kernel32.dll.
std::wstring ResolveBrowserPath();

using WebLauncher = void (*)(void* owner, const WebLaunch& launch);
// Installs a launcher in place of ShellExecuteW (null restores it); returns
// the one replaced.
WebLauncher SetWebLauncher(WebLauncher launcher);

// Opens http://IP:PORT from the two texts with `browserPath`, owned by
// `owner`; a browser that cannot be started is not reported.
void OpenWebPage(void* owner, const std::wstring& browserPath,
                 const std::wstring& ipText, const std::wstring& portText);
