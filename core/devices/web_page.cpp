#include "core/devices/web_page.h"

std::wstring WebPageAddress(const std::wstring& ipText,
                            const std::wstring& portText) {
  std::wstring address = L"http://" + ipText + L":" + portText;
  if (address.size() > ADDRESS_LIMIT) address.resize(ADDRESS_LIMIT);
  return address;
}

std::wstring BrowserPathFor(int architecture) {
  return architecture == ARCHITECTURE_AMD64 ? BROWSER_PATH_X86
                                            : BROWSER_PATH_PLAIN;
}

WebLaunch ChooseWebLaunch(const std::wstring& browserPath, bool browserExists,
                          const std::wstring& address) {
  // Internet Explorer is gone from current Windows and from Wine: without
  // it the address goes to whatever browser the user has chosen.
  if (browserExists) return {browserPath, address};
  return {address, std::wstring()};
}
