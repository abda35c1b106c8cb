#include "devices/web_page.h"

std::wstring WebPageAddress(const std::wstring& ipText,
                            const std::wstring& portText) {
  std::wstring address = L"http://" + ipText + L":" + portText;
  if (address.size() > kAddressLimit) address.resize(kAddressLimit);
  return address;
}

std::wstring BrowserPathFor(int architecture) {
  return architecture == kArchitectureAmd64 ? kBrowserPathX86
                                            : kBrowserPathPlain;
}

WebLaunch ChooseWebLaunch(const std::wstring& browserPath, bool browserExists,
                          const std::wstring& address) {
  // Internet Explorer is gone from current Windows and from Wine: without
  // it the address goes to whatever browser the user has chosen.
  if (browserExists) return {browserPath, address};
  return {address, std::wstring()};
}
