#include "core/devices/web_page.h"

#include <gtest/gtest.h>

namespace {

TEST(WebPageAddress, SchemeAddressColonAndAlwaysThePort) {
  EXPECT_EQ(WebPageAddress(L"192.168.1.10", L"80"), L"http://192.168.1.10:80");
  EXPECT_EQ(WebPageAddress(L"10.0.0.1", L"-1"), L"http://10.0.0.1:-1");
  EXPECT_EQ(WebPageAddress(std::wstring(300, L'9'), L"80").size(), 259u);
}

TEST(BrowserPathFor, ProgramFilesX86OnlyOnAmd64) {
  EXPECT_EQ(BrowserPathFor(9),
            L"C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe");
  for (int architecture : {-1, 0, 5, 6, 12})
    EXPECT_EQ(BrowserPathFor(architecture),
              L"C:\\Program Files\\Internet Explorer\\iexplore.exe");
}

TEST(ChooseWebLaunch, TheBrowserWhenItExistsElseTheDefaultBrowser) {
  const WebLaunch withBrowser =
      ChooseWebLaunch(BROWSER_PATH_X86, true, L"http://10.0.0.1:80");
  EXPECT_EQ(withBrowser.file, BROWSER_PATH_X86);
  EXPECT_EQ(withBrowser.parameters, L"http://10.0.0.1:80");
  const WebLaunch without =
      ChooseWebLaunch(BROWSER_PATH_X86, false, L"http://10.0.0.1:80");
  EXPECT_EQ(without.file, L"http://10.0.0.1:80");
  EXPECT_EQ(without.parameters, L"");
}

}  // namespace
