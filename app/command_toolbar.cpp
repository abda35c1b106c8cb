#include "app/command_toolbar.h"

#include "res/resource.h"

namespace {

constexpr int kPicture = 60;
constexpr int kButton = kPicture + 7;
constexpr int kTipWidth = 300;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr UINT kTools[] = {TOOL_ID_SEARCH, TOOL_ID_IP_CHANGE, TOOL_ID_WEB_PAGE};
constexpr const wchar_t* kTipTexts[] = {
    L"IP discovery\r\nSearch devices on local network.",
    L"IP change\r\nChange a network setting of devices.",
    L"Web page of devices\r\nOpen a web browser about a selected device."};
constexpr int kToolCount = 3;

// The resource type of toolbar resources.
const wchar_t* const kToolbarType = MAKEINTRESOURCEW(241);

// A toolbar resource: version, image width and height, item count, then
// one command id per item (0 for a separator).
struct ToolbarResource {
  WORD version;
  WORD width;
  WORD height;
  WORD count;
};

const ToolbarResource* LoadToolbarResource(int id) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), kToolbarType);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  if (loaded == nullptr) return nullptr;
  return static_cast<const ToolbarResource*>(LockResource(loaded));
}

HIMAGELIST LoadPictures(int bitmapId) {
  return ImageList_LoadImageW(GetModuleHandleW(nullptr),
                              MAKEINTRESOURCEW(bitmapId), kPicture, 1,
                              kMaskColour, IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

TTTOOLINFOW ToolInfo(HWND frame, UINT tool) {
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = frame;
  info.uId = tool;
  return info;
}

}  // namespace

CommandToolbar::~CommandToolbar() {
  for (HIMAGELIST list : images) {
    if (list != nullptr) ImageList_Destroy(list);
  }
}

HWND CommandToolbar::Create(HWND owner, DWORD style, UINT id) {
  frame = owner;
  toolBar =
      CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100,
                      owner, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  if (toolBar == nullptr) return nullptr;
  SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Buttons that do not fit the band are hidden, not cut.
  SendMessageW(toolBar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_HIDECLIPPEDBUTTONS);
  SendMessageW(toolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kPicture, kPicture));
  SendMessageW(toolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButton, kButton));
  const ToolbarResource* resource = LoadToolbarResource(IDR_COMMAND_TOOLBAR);
  if (resource == nullptr) return toolBar;
  const WORD* items = reinterpret_cast<const WORD*>(resource + 1);
  int image = 0;
  for (WORD i = 0; i < resource->count; ++i) {
    TBBUTTON button{};
    button.idCommand = items[i];
    if (items[i] == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = image++;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
      button.iString = -1;
    }
    SendMessageW(toolBar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  }
  return toolBar;
}

void CommandToolbar::InstallImages() {
  images[0] = LoadPictures(IDB_TOOLBAR_NORMAL);
  images[1] = LoadPictures(IDB_TOOLBAR_HOT);
  images[2] = LoadPictures(IDB_TOOLBAR_DISABLED);
  SendMessageW(toolBar, TB_SETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images[0]));
  SendMessageW(toolBar, TB_SETHOTIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images[1]));
  SendMessageW(toolBar, TB_SETDISABLEDIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images[2]));
}

void CommandToolbar::CreateTips(HWND owner) {
  toolTip = CreateWindowExW(
      WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
      GetModuleHandleW(nullptr), nullptr);
  if (toolTip == nullptr) return;
  SendMessageW(toolTip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  for (int i = 0; i < kToolCount; ++i) {
    TTTOOLINFOW info = ToolInfo(owner, kTools[i]);
    info.uFlags = TTF_TRACK;
    SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  for (int i = 0; i < kToolCount; ++i) {
    TTTOOLINFOW info = ToolInfo(owner, kTools[i]);
    info.lpszText = const_cast<wchar_t*>(kTipTexts[i]);
    SendMessageW(toolTip, TTM_UPDATETIPTEXTW, 0,
                 reinterpret_cast<LPARAM>(&info));
  }
}

void CommandToolbar::Enable(UINT commandId, bool enabled) {
  SendMessageW(toolBar, TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled, 0));
}

void CommandToolbar::HideTips() {
  for (UINT tool : kTools) {
    TTTOOLINFOW info = ToolInfo(frame, tool);
    SendMessageW(toolTip, TTM_TRACKACTIVATE, FALSE,
                 reinterpret_cast<LPARAM>(&info));
  }
}

void CommandToolbar::TrackPointer() {
  if (toolBar == nullptr) return;
  POINT pointer{};
  GetCursorPos(&pointer);
  POINT local = pointer;
  ScreenToClient(toolBar, &local);
  const int index = static_cast<int>(
      SendMessageW(toolBar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&local)));
  if (index < 0 || index >= kToolCount) {
    RequestTip(kNoTool, POINT{0, 0});
    return;
  }
  RECT button{};
  SendMessageW(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&button));
  POINT corner{button.right, button.bottom};
  ClientToScreen(toolBar, &corner);
  RequestTip(static_cast<int>(kTools[index]), corner);
}

void CommandToolbar::RequestTip(int tool, POINT where) {
  if (tool == trackedTool) return;
  HideTips();
  if (tool != kNoTool) {
    SendMessageW(toolTip, TTM_TRACKPOSITION, 0, MAKELPARAM(where.x, where.y));
    TTTOOLINFOW info = ToolInfo(frame, static_cast<UINT>(tool));
    SendMessageW(toolTip, TTM_TRACKACTIVATE, TRUE,
                 reinterpret_cast<LPARAM>(&info));
  }
  trackedTool = tool;
}

int CommandToolbar::BandWidth() const {
  const int count =
      static_cast<int>(SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0));
  if (count == 0) return 0;
  RECT last{};
  SendMessageW(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(count - 1),
               reinterpret_cast<LPARAM>(&last));
  return last.right;
}

int CommandToolbar::FirstButtonRight() const {
  RECT first{};
  SendMessageW(toolBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  return first.right;
}

int CommandToolbar::ButtonHeight() const {
  return HIWORD(SendMessageW(toolBar, TB_GETBUTTONSIZE, 0, 0));
}
