// Opening a device's web page: the address from the row's texts and the
// browser program chosen once from the processor architecture.
#pragma once

#include <string>

constexpr const wchar_t* BROWSER_PATH_X86 =
    L"C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe";
constexpr const wchar_t* BROWSER_PATH_PLAIN =
    L"C:\\Program Files\\Internet Explorer\\iexplore.exe";
constexpr int ARCHITECTURE_AMD64 = 9;
// Room for the address, as in the fixed text buffers it is built in.
constexpr std::size_t ADDRESS_LIMIT = 259;

// "http://%s:%s" from the "IP address" and "HTTP port" texts; the port is
// always written, 80 included.
std::wstring WebPageAddress(const std::wstring& ipText,
                            const std::wstring& portText);

// The browser path for a processor architecture, or for none known (-1).
std::wstring BrowserPathFor(int architecture);

// How the page is opened: the browser program with the address as its
// argument, or, when there is no such program, the address itself handed to
// the user's default browser. Tests replace the launch to see what would
// have been started.
struct WebLaunch {
  std::wstring file;
  std::wstring parameters;
};
WebLaunch ChooseWebLaunch(const std::wstring& browserPath, bool browserExists,
                          const std::wstring& address);
