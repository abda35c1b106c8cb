// Loads every resource of the program from this test module, which links the
// same resource objects as Quellan.exe, and checks it against the layout the
// code relies on.

// commctrl.h needs windows.h first; keep the sorter away from the pair.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

std::wstring String(UINT id) {
  wchar_t text[256] = {};
  LoadStringW(Module(), id, text, 256);
  return text;
}

// Bytes of a raw resource of this module, empty when it is missing.
std::vector<uint8_t> RawResource(UINT id, LPCWSTR type) {
  HRSRC info = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
  if (info == nullptr) return {};
  const auto* data =
      static_cast<const uint8_t*>(LockResource(LoadResource(Module(), info)));
  return std::vector<uint8_t>(data, data + SizeofResource(Module(), info));
}

std::vector<uint16_t> Words(const std::vector<uint8_t>& bytes) {
  std::vector<uint16_t> words(bytes.size() / 2);
  for (size_t i = 0; i < words.size(); ++i) {
    words[i] = static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  }
  return words;
}

struct Dib {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

// LR_CREATEDIBSECTION keeps the stored colour depth instead of converting
// the picture to the screen's.
Dib LoadDib(UINT id) {
  Dib dib;
  auto bitmap = static_cast<HBITMAP>(LoadImageW(
      Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return dib;
  DIBSECTION section = {};
  if (GetObjectW(bitmap, sizeof section, &section) == sizeof section) {
    dib.width = section.dsBm.bmWidth;
    dib.height = section.dsBm.bmHeight;
    dib.bitsPerPixel = section.dsBm.bmBitsPixel;
  }
  DeleteObject(bitmap);
  return dib;
}

// Pixels of a bitmap resource as 0x00RRGGBB, top row first.
std::vector<uint32_t> Pixels(UINT id, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  auto bitmap = static_cast<HBITMAP>(LoadImageW(
      Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  int rows =
      GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(bitmap);
  if (rows != height) return {};
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

constexpr uint32_t MAGENTA = 0xFF00FF;

bool Pinkish(uint32_t p) {
  int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
  return p != MAGENTA && r > 200 && b > 200 && g < 100;
}

TEST(Menu, HasFileExitAndHelpAbout) {
  HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(MenuText(menu, 0), L"&File");
  EXPECT_EQ(MenuText(menu, 1), L"Help");

  HMENU file = GetSubMenu(menu, 0);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(GetMenuItemCount(file), 1);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(ID_APP_EXIT));
  EXPECT_EQ(MenuText(file, 0), L"E&xit");

  HMENU help = GetSubMenu(menu, 1);
  ASSERT_NE(help, nullptr);
  ASSERT_EQ(GetMenuItemCount(help), 1);
  EXPECT_EQ(GetMenuItemID(help, 0), static_cast<UINT>(ID_HELP_ABOUT));
  EXPECT_EQ(MenuText(help, 0), L"About");
  DestroyMenu(menu);
}

TEST(Accelerators, HoldTheSixFrameworkChords) {
  HACCEL table = LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8] = {};
  ASSERT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 6);
  ASSERT_EQ(CopyAcceleratorTableW(table, entries, 8), 6);
  struct Expected {
    BYTE modifiers;
    WORD key;
    WORD command;
  };
  const Expected expected[] = {
      {FCONTROL, 'N', ID_FILE_NEW},  {FCONTROL, 'O', ID_FILE_OPEN},
      {FCONTROL, 'S', ID_FILE_SAVE}, {FCONTROL, 'P', ID_FILE_PRINT},
      {0, VK_F6, ID_NEXT_PANE},      {FSHIFT, VK_F6, ID_PREV_PANE},
  };
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT),
              FVIRTKEY | expected[i].modifiers);
    EXPECT_EQ(entries[i].key, expected[i].key);
    EXPECT_EQ(entries[i].cmd, expected[i].command);
  }
  DestroyAcceleratorTable(table);
}

TEST(Strings, TitleAndCommandTexts) {
  EXPECT_EQ(String(IDR_MAINFRAME), L"Quellan");
  EXPECT_EQ(String(ID_DEVICE_SEARCH), L"Search devices");
  EXPECT_EQ(String(ID_DEVICE_IP_CHANGE), L"Change a ip of device");
  EXPECT_EQ(String(ID_DEVICE_WEB_PAGE), L"Go camera web page");
}

TEST(Toolbars, CommandToolbarHasThreeLargeButtons) {
  EXPECT_EQ(Words(RawResource(IDR_COMMAND_TOOLBAR, MAKEINTRESOURCEW(241))),
            (std::vector<uint16_t>{1, 60, 60, 3, ID_DEVICE_SEARCH,
                                   ID_DEVICE_IP_CHANGE, ID_DEVICE_WEB_PAGE}));
}

TEST(Toolbars, MenuBarStripNamesEightCommands) {
  EXPECT_EQ(
      Words(RawResource(IDR_MAINFRAME, MAKEINTRESOURCEW(241))),
      (std::vector<uint16_t>{1, 16, 15, 8, ID_FILE_NEW, ID_FILE_OPEN,
                             ID_FILE_SAVE, ID_EDIT_CUT, ID_EDIT_COPY,
                             ID_EDIT_PASTE, ID_FILE_PRINT, ID_APP_ABOUT}));
}

TEST(Bitmaps, ToolbarPlaceholderAndMenuBarStrip) {
  Dib placeholder = LoadDib(IDR_COMMAND_TOOLBAR);
  EXPECT_EQ(placeholder.width, 180);
  EXPECT_EQ(placeholder.height, 60);
  EXPECT_EQ(placeholder.bitsPerPixel, 4);
  Dib strip = LoadDib(IDR_MAINFRAME);
  EXPECT_EQ(strip.width, 8 * 16);
  EXPECT_EQ(strip.height, 15);
  EXPECT_EQ(strip.bitsPerPixel, 4);
}

class CommandPictures : public testing::TestWithParam<UINT> {};

TEST_P(CommandPictures, ThreeKeyedTilesOf60By60At24Bits) {
  Dib dib = LoadDib(GetParam());
  EXPECT_EQ(dib.width, 180);
  EXPECT_EQ(dib.height, 60);
  EXPECT_EQ(dib.bitsPerPixel, 24);

  std::vector<uint32_t> px = Pixels(GetParam(), 180, 60);
  ASSERT_EQ(px.size(), 180u * 60u);
  for (int tile = 0; tile < 3; ++tile) {
    SCOPED_TRACE(tile);
    int left = 60 * tile;
    EXPECT_EQ(px[left], MAGENTA);
    EXPECT_EQ(px[left + 59], MAGENTA);
    EXPECT_EQ(px[59 * 180 + left], MAGENTA);
    EXPECT_EQ(px[59 * 180 + left + 59], MAGENTA);
    EXPECT_NE(px[30 * 180 + left + 4], MAGENTA);
  }
  for (uint32_t p : px) ASSERT_FALSE(Pinkish(p)) << std::hex << p;
}

INSTANTIATE_TEST_SUITE_P(NormalHotDisabled, CommandPictures,
                         testing::Values(IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_HOT,
                                         IDB_TOOLBAR_DISABLED));

class CaptionPictures : public testing::TestWithParam<UINT> {};

TEST_P(CaptionPictures, WhiteThenRedOnMagentaAt4Bits) {
  Dib dib = LoadDib(GetParam());
  EXPECT_EQ(dib.width, 30);
  EXPECT_EQ(dib.height, 15);
  EXPECT_EQ(dib.bitsPerPixel, 4);

  std::vector<uint32_t> px = Pixels(GetParam(), 30, 15);
  ASSERT_EQ(px.size(), 30u * 15u);
  EXPECT_EQ(px[0], MAGENTA);
  EXPECT_EQ(px[15], MAGENTA);
  int white = 0, red = 0;
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 30; ++x) {
      uint32_t p = px[y * 30 + x];
      if (p == MAGENTA) continue;
      if (x < 15) {
        EXPECT_EQ(p, 0xFFFFFFu);
        ++white;
      } else {
        EXPECT_GE(p >> 16 & 0xFF, 0xC0u);
        EXPECT_LT(p >> 8 & 0xFF, 0x60u);
        ++red;
      }
    }
  }
  EXPECT_GT(white, 0);
  EXPECT_EQ(white, red);
}

INSTANTIATE_TEST_SUITE_P(CloseMaximizeMinimizeRestore, CaptionPictures,
                         testing::Values(IDB_CAPTION_CLOSE,
                                         IDB_CAPTION_MAXIMIZE,
                                         IDB_CAPTION_MINIMIZE,
                                         IDB_CAPTION_RESTORE));

TEST(Icon, LoadsAtEverySizeTheProgramAsksFor) {
  for (int size : {16, 32, 64}) {
    SCOPED_TRACE(size);
    auto icon = static_cast<HICON>(LoadImageW(
        Module(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

// Wine ignores GDI scaling, so the manifest is the place to see it.
TEST(Manifest, AsksForCommonControls6AsInvokerWithGdiScaling) {
  std::vector<uint8_t> bytes = RawResource(1, MAKEINTRESOURCEW(24));
  std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(
      text.find("<gdiScaling xmlns=\"http://schemas.microsoft.com/SMI/2017/"
                "WindowsSettings\">true</gdiScaling>"),
      std::string::npos);
}

std::wstring VersionString(const std::vector<uint8_t>& block,
                           const wchar_t* name) {
  std::wstring path = L"\\StringFileInfo\\040904b0\\";
  path += name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length)) return {};
  return static_cast<const wchar_t*>(value);
}

TEST(Version, FileAndProductVersion1001) {
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  DWORD size = GetFileVersionInfoSizeW(path, nullptr);
  ASSERT_GT(size, 0u);
  std::vector<uint8_t> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\",
                             reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);

  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1, 0, 0, 1");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1, 0, 0, 1");
  EXPECT_EQ(VersionString(block, L"FileDescription"), L"Quellan Module");
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Quellan Module");
  EXPECT_EQ(VersionString(block, L"InternalName"), L"Quellan");
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Quellan.exe");
}

// ---------------------------------------------------------------------------
// Dialog templates

// One control of a template, as stored; style without WS_CHILD | WS_VISIBLE,
// which every control has.
struct Control {
  int id;
  const wchar_t* windowClass;
  const wchar_t* text;  // nullptr: an ordinal (the icon) or not compared
  DWORD style;
  int x, y, cx, cy;
};

struct Template {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::wstring title;
  int pointSize = 0;
  std::wstring face;
  std::vector<Control> controls;
  std::vector<std::wstring> texts;  // keeps the controls' text alive
  std::vector<std::wstring> classes;
};

// Reads a DLGTEMPLATEEX with its DLGITEMTEMPLATEEX entries, so that the test
// sees the stored styles before the dialog manager adjusts them (it moves
// WS_BORDER of edit fields to WS_EX_CLIENTEDGE, a combo box hands WS_VSCROLL
// to its list, and so on).
Template ReadTemplate(UINT id) {
  Template t;
  std::vector<uint16_t> w = Words(RawResource(id, MAKEINTRESOURCEW(5)));
  if (w.size() < 13 || w[0] != 1 || w[1] != 0xFFFF) return t;
  size_t i = 0;
  auto dword = [&](size_t at) { return DWORD{w[at]} | DWORD{w[at + 1]} << 16; };
  auto text = [&] {
    std::wstring s;
    while (w[i] != 0) s += static_cast<wchar_t>(w[i++]);
    ++i;
    return s;
  };
  // A name, or an ordinal written as "#n".
  auto nameOrOrdinal = [&] {
    if (w[i] == 0xFFFF) {
      i += 2;
      return L"#" + std::to_wstring(w[i - 1]);
    }
    return text();
  };
  t.exStyle = dword(4);
  t.style = dword(6);
  int count = w[8];
  t.x = static_cast<int16_t>(w[9]);
  t.y = static_cast<int16_t>(w[10]);
  t.cx = static_cast<int16_t>(w[11]);
  t.cy = static_cast<int16_t>(w[12]);
  i = 13;
  nameOrOrdinal();
  nameOrOrdinal();
  t.title = text();
  if (t.style & DS_SETFONT) {
    t.pointSize = w[i];
    i += 3;
    t.face = text();
  }
  const std::wstring atoms[] = {L"Button",  L"Edit",      L"Static",
                                L"ListBox", L"ScrollBar", L"ComboBox"};
  t.texts.reserve(count);
  t.classes.reserve(count);
  for (int n = 0; n < count; ++n) {
    i = (i + 1) & ~size_t{1};  // items start on 32-bit boundaries
    Control c = {};
    c.style = dword(i + 4) & ~DWORD{WS_CHILD | WS_VISIBLE};
    c.x = static_cast<int16_t>(w[i + 6]);
    c.y = static_cast<int16_t>(w[i + 7]);
    c.cx = static_cast<int16_t>(w[i + 8]);
    c.cy = static_cast<int16_t>(w[i + 9]);
    c.id = static_cast<int>(dword(i + 10));
    i += 12;
    std::wstring windowClass = nameOrOrdinal();
    for (int atom = 0; atom < 6; ++atom) {
      if (windowClass == L"#" + std::to_wstring(0x80 + atom)) {
        windowClass = atoms[atom];
      }
    }
    t.classes.push_back(windowClass);
    t.texts.push_back(nameOrOrdinal());
    c.windowClass = t.classes.back().c_str();
    c.text = t.texts.back().c_str();
    i += 1 + w[i] / 2;
    t.controls.push_back(c);
  }
  return t;
}

void ExpectTemplateControls(const Template& t,
                            const std::vector<Control>& expected) {
  ASSERT_EQ(t.controls.size(), expected.size());
  for (size_t n = 0; n < expected.size(); ++n) {
    const Control& e = expected[n];
    const Control& c = t.controls[n];
    SCOPED_TRACE(testing::Message() << "template control " << n);
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(_wcsicmp(c.windowClass, e.windowClass), 0) << c.windowClass;
    EXPECT_EQ(std::wstring(c.text), e.text != nullptr ? e.text : L"#128");
    EXPECT_EQ(c.style, e.style) << std::hex << c.style;
    EXPECT_EQ(c.x, e.x);
    EXPECT_EQ(c.y, e.y);
    EXPECT_EQ(c.cx, e.cx);
    EXPECT_EQ(c.cy, e.cy);
  }
}

INT_PTR CALLBACK InertDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  std::wstring text = name;
  // Version 6 classes may carry their assembly version in front of a "!".
  size_t bang = text.rfind(L'!');
  return bang == std::wstring::npos ? text : text.substr(bang + 1);
}

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

// Creates each template as a hidden dialog and checks that every control
// became a window of the right class with its text.
class DialogTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES |
                                                  ICC_INTERNET_CLASSES |
                                                  ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
  }

  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    if (parent_ != nullptr) DestroyWindow(parent_);
  }

  HWND Create(UINT id, bool child) {
    if (child) {
      parent_ = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1024, 700,
                                nullptr, nullptr, Module(), nullptr);
    }
    dialog_ = CreateDialogParamW(Module(), MAKEINTRESOURCEW(id), parent_,
                                 InertDialogProc, 0);
    return dialog_;
  }

  // Children in z-order, which for a dialog is the template order. Texts of
  // IP address controls and of the icon are not compared.
  void ExpectWindows(const std::vector<Control>& expected) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog_, GW_CHILD); c != nullptr;
         c = GetWindow(c, GW_HWNDNEXT)) {
      children.push_back(c);
    }
    ASSERT_EQ(children.size(), expected.size());
    for (size_t n = 0; n < expected.size(); ++n) {
      const Control& e = expected[n];
      HWND c = children[n];
      SCOPED_TRACE(testing::Message() << "window " << n << " id " << e.id);
      EXPECT_EQ(GetDlgCtrlID(c), e.id);
      EXPECT_EQ(_wcsicmp(ClassOf(c).c_str(), e.windowClass), 0)
          << testing::PrintToString(ClassOf(c));
      bool ownText =
          e.text != nullptr && _wcsicmp(e.windowClass, L"SysIPAddress32") != 0;
      if (ownText) {
        EXPECT_EQ(TextOf(c), e.text);
      }
      auto style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
      EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), DWORD{WS_CHILD | WS_VISIBLE});
    }
  }

  HWND parent_ = nullptr;
  HWND dialog_ = nullptr;
};

constexpr DWORD MODAL =
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD DEFAULT = BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD PUSH = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD LABEL = SS_RIGHT | WS_GROUP;
constexpr DWORD TEXT = SS_LEFT | WS_GROUP;
constexpr DWORD NUMBER = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD MODE_LIST =
    CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD IP = WS_TABSTOP;
constexpr DWORD GROUP = BS_GROUPBOX;

TEST_F(DialogTest, About100) {
  Template t = ReadTemplate(IDD_ABOUTBOX);
  EXPECT_EQ(t.style, MODAL);
  EXPECT_EQ(t.exStyle, 0u);
  EXPECT_EQ(t.cx, 187);
  EXPECT_EQ(t.cy, 118);
  EXPECT_EQ(t.title, L"About");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, L"MS Sans Serif");
  const std::vector<Control> controls = {
      {IDOK, L"Button", L"Close", DEFAULT, 130, 92, 50, 19},
      {IDC_ABOUT_VERSION, L"Static", L"Quellan Application",
       SS_CENTER | WS_GROUP, 12, 57, 102, 47},
      {IDC_STATIC, L"Static", nullptr, SS_ICON, 55, 26, 18, 23},
      {IDC_STATIC, L"Button", L"", GROUP, 7, 3, 115, 108},
  };
  ExpectTemplateControls(t, controls);

  ASSERT_NE(Create(IDD_ABOUTBOX, false), nullptr);
  ExpectWindows(controls);
  HWND icon = GetWindow(GetDlgItem(dialog_, IDC_ABOUT_VERSION), GW_HWNDNEXT);
  EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
}

TEST_F(DialogTest, DeviceView129) {
  Template t = ReadTemplate(IDD_QUELLAN_VIEW);
  EXPECT_EQ(t.style,
            DWORD{DS_SETFONT | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS});
  EXPECT_EQ(t.exStyle, DWORD{WS_EX_CLIENTEDGE});
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, L"MS Sans Serif");
  constexpr DWORD TITLE = SS_CENTERIMAGE | WS_GROUP;
  const std::vector<Control> controls = {
      {IDC_DEVICE_LIST, L"SysListView32", L"",
       LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT |
           WS_BORDER | WS_TABSTOP,
       10, 40, 480, 250},
      {IDC_DEVICE_GROUP, L"Button", L"", GROUP, 5, 5, 490, 290},
      {IDC_SELECT_ALL, L"Button", L"", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 20, 9,
       9},
      {IDC_FOUND_TEXT, L"Static", L"Found 0 devices", SS_RIGHT | TITLE, 330, 18,
       160, 12},
      {IDC_SELECT_ALL_TEXT, L"Static", L"Select all devices", SS_LEFT | TITLE,
       22, 18, 100, 12},
      {IDC_GROUP_TITLE, L"Static", L" Device ", SS_LEFT | TITLE, 12, 3, 60, 12},
  };
  ExpectTemplateControls(t, controls);

  ASSERT_NE(Create(IDD_QUELLAN_VIEW, true), nullptr);
  EXPECT_TRUE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(GetWindowLongW(dialog_, GWL_STYLE) & WS_CHILD);
  ExpectWindows(controls);
}

TEST_F(DialogTest, SingleIpChange215) {
  Template t = ReadTemplate(IDD_IP_CHANGE);
  EXPECT_EQ(t.style, MODAL);
  EXPECT_EQ(t.cx, 210);
  EXPECT_EQ(t.cy, 168);
  EXPECT_EQ(t.title, L"IP address change");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, L"MS Shell Dlg");
  const std::vector<Control> controls = {
      {IDOK, L"Button", L"Change", DEFAULT, 91, 147, 50, 14},
      {IDCANCEL, L"Button", L"Close", PUSH, 145, 147, 50, 14},
      {IDC_STATIC, L"Static", L"IP mode", LABEL, 13, 18, 51, 11},
      {IDC_STATIC, L"Static", L"IP Address", LABEL, 13, 37, 51, 11},
      {IDC_STATIC, L"Static", L"Subnet mask", LABEL, 13, 56, 51, 11},
      {IDC_STATIC, L"Static", L"Gateway", LABEL, 13, 74, 51, 11},
      {IDC_STATIC, L"Static", L"Base port", LABEL, 13, 95, 51, 11},
      {IDC_STATIC, L"Static", L"Http port", LABEL, 13, 115, 51, 11},
      {IDC_IP_MODE, L"ComboBox", L"", MODE_LIST, 75, 16, 102, 46},
      {IDC_IP_ADDRESS, L"SysIPAddress32", L"", IP, 75, 36, 103, 13},
      {IDC_SUBNET_MASK, L"SysIPAddress32", L"", IP, 75, 54, 103, 13},
      {IDC_GATEWAY, L"SysIPAddress32", L"", IP, 75, 73, 103, 13},
      {IDC_BASE_PORT, L"Edit", L"", NUMBER, 75, 93, 54, 15},
      {IDC_HTTP_PORT, L"Edit", L"", NUMBER, 75, 114, 54, 15},
      {IDC_STATIC, L"Button", L"", GROUP, 7, 3, 196, 136},
      {IDC_STATIC, L"Static", L"(1025~65535)", TEXT, 132, 96, 49, 10},
      {IDC_STATIC, L"Static", L"(80, 1025~65535)", TEXT, 132, 116, 63, 10},
  };
  ExpectTemplateControls(t, controls);

  ASSERT_NE(Create(IDD_IP_CHANGE, false), nullptr);
  ExpectWindows(controls);
}

TEST_F(DialogTest, MultiIpChange216) {
  Template t = ReadTemplate(IDD_IP_CHANGE_MULTI);
  EXPECT_EQ(t.style, MODAL);
  EXPECT_EQ(t.cx, 218);
  EXPECT_EQ(t.cy, 193);
  EXPECT_EQ(t.title, L"IP address change");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, L"MS Shell Dlg");
  const std::vector<Control> controls = {
      {IDOK, L"Button", L"Change", DEFAULT, 106, 172, 50, 14},
      {IDCANCEL, L"Button", L"Close", PUSH, 161, 172, 50, 14},
      {IDC_MULTI_SERVER_COUNT, L"Static", L"0 Servers are selected", TEXT, 19,
       14, 127, 13},
      {IDC_STATIC, L"Static", L"Start IP", LABEL, 13, 40, 53, 15},
      {IDC_STATIC, L"Static", L"IP Mode", LABEL, 13, 60, 53, 15},
      {IDC_STATIC, L"Static", L"Subnet mask", LABEL, 13, 82, 53, 15},
      {IDC_STATIC, L"Static", L"Gateway", LABEL, 13, 100, 53, 15},
      {IDC_STATIC, L"Static", L"Base port", LABEL, 13, 121, 53, 15},
      {IDC_STATIC, L"Static", L"Http port", LABEL, 13, 140, 53, 15},
      {IDC_MULTI_START_IP, L"SysIPAddress32", L"", IP, 76, 37, 103, 15},
      {IDC_MULTI_IP_MODE, L"ComboBox", L"", MODE_LIST, 76, 59, 103, 68},
      {IDC_MULTI_SUBNET_MASK, L"SysIPAddress32", L"", IP, 76, 79, 103, 15},
      {IDC_MULTI_GATEWAY, L"SysIPAddress32", L"", IP, 76, 99, 103, 15},
      {IDC_MULTI_BASE_PORT, L"Edit", L"", NUMBER, 76, 120, 47, 13},
      {IDC_MULTI_HTTP_PORT, L"Edit", L"", NUMBER, 76, 139, 48, 13},
      {IDC_STATIC, L"Button", L"", GROUP, 16, 25, 184, 135},
      {IDC_STATIC, L"Button", L"", GROUP, 6, 3, 205, 165},
      {IDC_STATIC, L"Static", L"(1025~65535)", TEXT, 128, 122, 49, 10},
      {IDC_STATIC, L"Static", L"(80, 1025~65535)", TEXT, 128, 142, 63, 10},
  };
  ExpectTemplateControls(t, controls);

  ASSERT_NE(Create(IDD_IP_CHANGE_MULTI, false), nullptr);
  ExpectWindows(controls);
}

TEST_F(DialogTest, ChangeProgress218) {
  Template t = ReadTemplate(IDD_IP_CHANGE_STATE);
  EXPECT_EQ(t.style, MODAL);
  EXPECT_EQ(t.cx, 316);
  EXPECT_EQ(t.cy, 67);
  EXPECT_EQ(t.title, L"IP change state");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, L"MS Shell Dlg");
  const std::vector<Control> controls = {
      {IDOK, L"Button", L"Complete", DEFAULT, 259, 39, 50, 20},
      {IDC_STATIC, L"Button", L"IP change progress", GROUP, 6, 3, 302, 34},
      {IDC_CHANGE_PROGRESS, L"msctls_progress32", L"", WS_BORDER, 17, 17, 242,
       10},
      {IDC_CHANGE_COUNTER, L"Static", L"Static", TEXT, 266, 18, 35, 11},
  };
  ExpectTemplateControls(t, controls);

  ASSERT_NE(Create(IDD_IP_CHANGE_STATE, false), nullptr);
  ExpectWindows(controls);
}

}  // namespace
