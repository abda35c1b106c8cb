// The IP change of the device view: one device through the single-device
// dialog, or every checked device through the multi-device dialog and the
// progress dialog. The change itself is the core's; the view asks and shows.
#include "app/dialogs/ip_change_dialog.h"
#include "app/dialogs/ip_change_multi_dialog.h"
#include "app/dialogs/ip_change_state_dialog.h"
#include "app/messages/window_messages.h"
#include "app/view/quellan_view.h"
#include "core/devices/change_link.h"
#include "core/engine/local_adapters.h"
#include "core/engine/notify.h"
#include "core/validation/change_check.h"
#include "winui/ui_wait.h"

using winui::Message;
using winui::MessageResult;

void CQuellanView::ChangeIpCommand() {
  // Check marks take precedence over the selection.
  const std::size_t checked = table_.CheckedCount();
  if (checked >= 2) {
    ChangeMultipleDevices();
  } else if (checked == 1) {
    for (std::size_t row = 0; row < table_.Size(); ++row)
      if (table_.Row(row).checked) return ChangeSingleDevice(row);
  } else if (const auto row = TableRowOf(list_.Selected())) {
    ChangeSingleDevice(*row);
  }
}

void CQuellanView::ChangeSingleDevice(std::size_t row) {
  if (row >= table_.Size()) return;
  CIPChangeDlg dialog(table_.Row(row).record);
  if (dialog.RunModal(GetActiveWindow()) != IDOK) return;
  DeviceInfo& record = table_.Record(row);
  const IpSettings settings = SettingsForDevice(dialog.Settings(), record);
  if (const auto refusal = WindowSingleChangeRefusal(settings)) {
    NotifyUser(ChangeProblemMessage(*refusal), APP_CAPTION, handle());
    return;
  }
  // The row's texts stay those of the search until the next one; its record
  // takes the settings only when the request has left.
  EngineChangeLink link;
  ChangeOneDevice(record, settings, link);
}

void CQuellanView::ChangeMultipleDevices() {
  const auto count = static_cast<std::int32_t>(table_.CheckedCount());
  CIPChangeMultiDlg dialog(count);
  if (dialog.RunModal(GetActiveWindow()) != IDOK) return;

  std::wstring message;
  if (!PlanMultiChange(table_.Rows(), dialog.Settings(),
                       AddressesOf(LocalAdapters()), &multiPlan_, &message)) {
    NotifyUser(message, APP_CAPTION, handle());
    return;
  }
  // The engine runs once around the whole pass. When it cannot start, its
  // own message has said why, and no progress that could never complete is
  // shown.
  EngineChangeLink link;
  ChangePass pass(link, multiPlan_.Bodies());
  if (!pass.Start([this](int done, int adapters) {
        SendMessageW(handle(), WM_MULTI_STEP, static_cast<WPARAM>(done),
                     static_cast<LPARAM>(adapters));
      }))
    return;

  CIPChangeStateDlg progress(count);
  progressDialog_ = &progress;
  progress.RunModal(GetActiveWindow());
  // The pass may be reporting a step to this thread right now.
  pass.RequestStop();
  WaitServingSentMessages([&pass] { return !pass.Running(); });
  progressDialog_ = nullptr;
}

MessageResult CQuellanView::OnMultiStep(const Message& m) {
  // The target's record holds what was sent once the request has left; the
  // step counts either way.
  CommitStep(multiPlan_, static_cast<int>(m.wParam), static_cast<int>(m.lParam),
             table_);
  if (progressDialog_ && progressDialog_->handle())
    SendMessageW(progressDialog_->handle(), WM_CHANGE_PROGRESS, m.wParam, 0);
  return 0;
}
