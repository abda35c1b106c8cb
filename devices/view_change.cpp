// The IP change of the device view: one device through the single-device
// dialog, or every checked device through the multi-device dialog and the
// progress dialog.
#include "devices/multi_change.h"
#include "devices/quellan_view.h"
#include "devices/ui_wait.h"
#include "dialogs/address_pair.h"
#include "dialogs/ip_change_dialog.h"
#include "dialogs/ip_change_multi_dialog.h"
#include "dialogs/ip_change_state_dialog.h"
#include "discovery/engine.h"
#include "discovery/notify.h"

using winui::Message;
using winui::MessageResult;

void CQuellanView::ChangeIpCommand() {
  // Check marks take precedence over the selection.
  const std::size_t checked = table.CheckedCount();
  if (checked >= 2) {
    ChangeMultipleDevices();
  } else if (checked == 1) {
    for (std::size_t row = 0; row < table.Size(); ++row)
      if (table.Row(row).checked) return ChangeSingleDevice(row);
  } else if (const auto row = TableRowOf(list.Selected())) {
    ChangeSingleDevice(*row);
  }
}

void CQuellanView::ChangeSingleDevice(std::size_t row) {
  if (row >= table.Size()) return;
  DeviceInfo& record = table.Record(row);
  CIPChangeDlg dialog(record);
  if (dialog.RunModal(GetActiveWindow()) != IDOK) return;
  const IpSettings settings = dialog.Settings();
  const AddressPairOutcome check =
      IsValidAddressPair(settings.ipAddress, settings.subnetMask);
  if (check != AddressPairOutcome::Valid) {
    NotifyUser(AddressPairMessage(check), kAppCaption, handle());
    return;
  }
  ApplyIpSettings(record, SettingsForDevice(settings, record));
  // The row's texts stay those of the search until the next one.
  if (DiscoveryStart(OnDiscoveryDatagram) != 1) return;
  DiscoverySend(CMD_CHANGE_IP, &record);
  DiscoveryStop();
}

void CQuellanView::ChangeMultipleDevices() {
  const auto count = static_cast<std::int32_t>(table.CheckedCount());
  CIPChangeMultiDlg dialog(count);
  if (dialog.RunModal(GetActiveWindow()) != IDOK) return;

  const MultiChangeTargets targets =
      FindMultiChangeTargets(table.MutableRows());
  std::vector<DeviceInfo> bodies;
  std::wstring message;
  if (!PlanMultiChange(table.MutableRows(), targets, dialog.Settings(), &bodies,
                       &message)) {
    NotifyUser(message, kAppCaption, handle());
    return;
  }
  // The engine runs once around the whole pass; when it cannot start, its
  // own message has said why and nothing is counted.
  const bool engineStarted = DiscoveryStart(OnDiscoveryDatagram) == 1;
  if (!engineStarted) bodies.clear();
  multiTargets = targets.rows;
  multiBodies = bodies;

  CIPChangeStateDlg progress(count);
  progressDialog = &progress;
  multiChange = std::make_unique<MultiChangePass>(
      std::move(bodies),
      [](const DeviceInfo& body) { DiscoverySend(CMD_CHANGE_IP, &body); },
      [this](int done) {
        SendMessageW(handle(), WM_MULTI_STEP, static_cast<WPARAM>(done), 0);
      },
      nullptr);
  multiChange->Start();
  progress.RunModal(GetActiveWindow());

  // The pass may be reporting a step to this thread right now.
  multiChange->RequestStop();
  WaitServingSentMessages([this] { return !multiChange->Running(); });
  multiChange.reset();
  progressDialog = nullptr;
  if (engineStarted) DiscoveryStop();
}

MessageResult CQuellanView::OnMultiStep(const Message& m) {
  // The request for this target has left: its record now holds what was
  // sent.
  const auto done = static_cast<std::size_t>(m.wParam);
  if (done >= 1 && done <= multiTargets.size() &&
      multiTargets[done - 1] < table.Size())
    table.Record(multiTargets[done - 1]) = multiBodies[done - 1];
  if (progressDialog && progressDialog->handle())
    SendMessageW(progressDialog->handle(), WM_CHANGE_PROGRESS, m.wParam, 0);
  return 0;
}
