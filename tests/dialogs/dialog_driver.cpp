#include "tests/dialogs/dialog_driver.h"

#include "core/engine/notify.h"
#include "winui/common_controls.h"

namespace {

std::vector<Notification> collected;

void Collect(const std::wstring& text, const std::wstring& caption,
             void* owner) {
  collected.push_back({text, caption, owner});
}

class DrivingOwner {
 public:
  explicit DrivingOwner(const std::function<void(HWND)>& drive)
      : drive_(drive) {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Procedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"IpChangeTestOwner";
      return RegisterClassW(&wc);
    }();
    hwnd_ = CreateWindowExW(
        0, MAKEINTATOM(atom), L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
        100, 700, 600, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~DrivingOwner() { DestroyWindow(hwnd_); }
  DrivingOwner(const DrivingOwner&) = delete;
  DrivingOwner& operator=(const DrivingOwner&) = delete;

  HWND handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self =
        reinterpret_cast<DrivingOwner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX &&
        self != nullptr && !self->driven_) {
      self->driven_ = true;
      self->drive_(reinterpret_cast<HWND>(lParam));
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  const std::function<void(HWND)>& drive_;
  HWND hwnd_ = nullptr;
  bool driven_ = false;
};

}  // namespace

NotificationCollector::NotificationCollector() {
  collected.clear();
  SetUserNotifier(Collect);
}

NotificationCollector::~NotificationCollector() { SetUserNotifier(nullptr); }

const std::vector<Notification>& NotificationCollector::All() const {
  return collected;
}

INT_PTR RunDriven(CBaseDialog& dialog, const std::function<void(HWND)>& drive) {
  DrivingOwner owner(drive);
  return dialog.RunModal(owner.handle());
}

void PressButton(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ChangeAttempt ChangeWithFieldText(CBaseDialog& dialog, int field,
                                  const std::wstring& text) {
  NotificationCollector notes;
  bool focusOnField = false;
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    SetDlgItemTextW(hwnd, field, text.c_str());
    SetFocus(GetDlgItem(hwnd, IDOK));
    PressButton(hwnd, IDOK);
    focusOnField = GetFocus() == GetDlgItem(hwnd, field);
    PressButton(hwnd, IDCANCEL);
  });
  return {result, notes.All(), focusOnField};
}

void PostEscape(HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0); }

void ClickCaptionClose(const CBaseDialog& dialog) {
  HWND hwnd = dialog.handle();
  SendMessageW(hwnd, WM_NCPAINT, 1, 0);
  const CaptionRect& r = dialog.CloseButton().rect;
  RECT window{};
  GetWindowRect(hwnd, &window);
  const LPARAM centre = MAKELPARAM(window.left + (r.left + r.right) / 2,
                                   window.top + (r.top + r.bottom) / 2);
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, centre);
  SendMessageW(hwnd, WM_NCLBUTTONUP, HTCAPTION, centre);
}

std::uint32_t AddressOf(HWND dialog, int id) {
  DWORD address = 0;
  SendDlgItemMessageW(dialog, id, IPM_GETADDRESS, 0,
                      reinterpret_cast<LPARAM>(&address));
  return address;
}

void SetAddress(HWND dialog, int id, std::uint32_t numeric) {
  SendDlgItemMessageW(dialog, id, IPM_SETADDRESS, 0, numeric);
}

std::wstring TextOf(HWND dialog, int id) {
  wchar_t text[260] = L"";
  GetDlgItemTextW(dialog, id, text, 260);
  return text;
}

int SelectedIndex(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}
