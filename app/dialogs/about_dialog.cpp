#include "app/dialogs/about_dialog.h"

#include "app/dialogs/version_text.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CAboutDlg> CAboutDlg::MESSAGE_MAP[] = {
    winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
    winui::OnCommand(IDOK, &Self::OnClose),
    winui::OnCommand(IDCANCEL, &Self::OnClose),
};

CAboutDlg::CAboutDlg() : CBaseDialog(IDD_ABOUTBOX, L"About") {}

CAboutDlg::~CAboutDlg() {
  if (textFont_ != nullptr) DeleteObject(textFont_);
}

MessageResult CAboutDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, MESSAGE_MAP, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

std::wstring RunningProgramVersion() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(GetModuleHandleW(nullptr), path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return std::wstring();
  void* block = LocalAlloc(LPTR, size);
  if (block == nullptr) return std::wstring();
  std::wstring version;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (GetFileVersionInfoW(path, 0, size, block) &&
      VerQueryValueW(block, L"\\", reinterpret_cast<void**>(&info),
                     &infoSize) &&
      info != nullptr) {
    version = FormatFileVersion(info->dwFileVersionMS, info->dwFileVersionLS);
  }
  LocalFree(block);
  return version;
}

MessageResult CAboutDlg::OnInitDialog(const Message&) {
  versionText_ = GetDlgItem(handle(), IDC_ABOUT_VERSION);
  const std::wstring text = AboutText(RunningProgramVersion());
  textFont_ =
      CreateFontW(-10, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                  ANTIALIASED_QUALITY, 0, L"Arial");
  SendMessageW(versionText_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_),
               TRUE);
  SetWindowTextW(versionText_, text.c_str());
  return CommonInit();
}

MessageResult CAboutDlg::OnClose(const Message& m) {
  End(LOWORD(m.wParam));
  return 0;
}
