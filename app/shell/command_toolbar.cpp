#include "app/shell/command_toolbar.h"

#include "res/resource.h"

namespace {

constexpr int PICTURE = 60;
constexpr int BUTTON = PICTURE + 7;
constexpr int TIP_WIDTH = 300;
constexpr COLORREF MASK_COLOUR = RGB(255, 0, 255);
constexpr UINT TOOLS[] = {TOOL_ID_SEARCH, TOOL_ID_IP_CHANGE, TOOL_ID_WEB_PAGE};
constexpr const wchar_t* TIP_TEXTS[] = {
    L"IP discovery\r\nSearch devices on local network.",
    L"IP change\r\nChange a network setting of devices.",
    L"Web page of devices\r\nOpen a web browser about a selected device."};
constexpr int TOOL_COUNT = 3;

// The resource type of toolbar resources.
const wchar_t* const TOOLBAR_TYPE = MAKEINTRESOURCEW(241);

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
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), TOOLBAR_TYPE);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  if (loaded == nullptr) return nullptr;
  return static_cast<const ToolbarResource*>(LockResource(loaded));
}

HIMAGELIST LoadPictures(int bitmapId) {
  return ImageList_LoadImageW(GetModuleHandleW(nullptr),
                              MAKEINTRESOURCEW(bitmapId), PICTURE, 1,
                              MASK_COLOUR, IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

TTTOOLINFOW ToolInfo(HWND frame_, UINT tool) {
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = frame_;
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
  frame_ = owner;
  toolBar_ =
      CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100,
                      owner, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  if (toolBar_ == nullptr) return nullptr;
  SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Buttons that do not fit the band are hidden, not cut.
  SendMessageW(toolBar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_HIDECLIPPEDBUTTONS);
  SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(PICTURE, PICTURE));
  SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(BUTTON, BUTTON));
  const ToolbarResource* resource = LoadToolbarResource(IDR_COMMAND_TOOLBAR);
  if (resource == nullptr) return toolBar_;
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
    SendMessageW(toolBar_, TB_ADDBUTTONSW, 1,
                 reinterpret_cast<LPARAM>(&button));
  }
  return toolBar_;
}

void CommandToolbar::InstallImages() {
  images[0] = LoadPictures(IDB_TOOLBAR_NORMAL);
  images[1] = LoadPictures(IDB_TOOLBAR_HOT);
  images[2] = LoadPictures(IDB_TOOLBAR_DISABLED);
  SendMessageW(toolBar_, TB_SETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images[0]));
  SendMessageW(toolBar_, TB_SETHOTIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images[1]));
  SendMessageW(toolBar_, TB_SETDISABLEDIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images[2]));
}

void CommandToolbar::CreateTips(HWND owner) {
  toolTip_ = CreateWindowExW(
      WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
      GetModuleHandleW(nullptr), nullptr);
  if (toolTip_ == nullptr) return;
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, TIP_WIDTH);
  for (int i = 0; i < TOOL_COUNT; ++i) {
    TTTOOLINFOW info = ToolInfo(owner, TOOLS[i]);
    info.uFlags = TTF_TRACK;
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  for (int i = 0; i < TOOL_COUNT; ++i) {
    TTTOOLINFOW info = ToolInfo(owner, TOOLS[i]);
    info.lpszText = const_cast<wchar_t*>(TIP_TEXTS[i]);
    SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0,
                 reinterpret_cast<LPARAM>(&info));
  }
}

void CommandToolbar::Enable(UINT commandId, bool enabled) {
  SendMessageW(toolBar_, TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled, 0));
}

void CommandToolbar::HideTips() {
  for (UINT tool : TOOLS) {
    TTTOOLINFOW info = ToolInfo(frame_, tool);
    SendMessageW(toolTip_, TTM_TRACKACTIVATE, FALSE,
                 reinterpret_cast<LPARAM>(&info));
  }
}

void CommandToolbar::TrackPointer() {
  if (toolBar_ == nullptr) return;
  POINT pointer{};
  GetCursorPos(&pointer);
  POINT local = pointer;
  ScreenToClient(toolBar_, &local);
  const int index = static_cast<int>(
      SendMessageW(toolBar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&local)));
  if (index < 0 || index >= TOOL_COUNT) {
    RequestTip(NO_TOOL, POINT{0, 0});
    return;
  }
  RECT button{};
  SendMessageW(toolBar_, TB_GETITEMRECT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&button));
  POINT corner{button.right, button.bottom};
  ClientToScreen(toolBar_, &corner);
  RequestTip(static_cast<int>(TOOLS[index]), corner);
}

void CommandToolbar::RequestTip(int tool, POINT where) {
  if (tool == trackedTool_) return;
  HideTips();
  if (tool != NO_TOOL) {
    SendMessageW(toolTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(where.x, where.y));
    TTTOOLINFOW info = ToolInfo(frame_, static_cast<UINT>(tool));
    SendMessageW(toolTip_, TTM_TRACKACTIVATE, TRUE,
                 reinterpret_cast<LPARAM>(&info));
  }
  trackedTool_ = tool;
}

int CommandToolbar::BandWidth() const {
  const int count =
      static_cast<int>(SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0));
  if (count == 0) return 0;
  RECT last{};
  SendMessageW(toolBar_, TB_GETITEMRECT, static_cast<WPARAM>(count - 1),
               reinterpret_cast<LPARAM>(&last));
  return last.right;
}

int CommandToolbar::FirstButtonRight() const {
  RECT first{};
  SendMessageW(toolBar_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  return first.right;
}

int CommandToolbar::ButtonHeight() const {
  return HIWORD(SendMessageW(toolBar_, TB_GETBUTTONSIZE, 0, 0));
}
