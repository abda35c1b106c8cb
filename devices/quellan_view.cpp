#include "devices/quellan_view.h"

#include "res/resource.h"

const winui::MessageMapEntry<CQuellanView> CQuellanView::kMessageMap[] = {
    winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
};

CQuellanView::CQuellanView() : winui::Dialog(IDD_QUELLAN_VIEW) {}

winui::MessageResult CQuellanView::ProcessMessage(const winui::Message& m) {
  return winui::Dispatch(*this, kMessageMap, m);
}

winui::MessageResult CQuellanView::OnInitDialog(const winui::Message&) {
  return TRUE;
}
