// The program's one top-level window: a rebar with the menu bar and the
// command toolbar, the device view below them, a self-painted caption, and
// the commands of menu and toolbar.
#pragma once

#include <windows.h>

#include "app/shell/command_toolbar.h"
#include "app/shell/frame_caption.h"
#include "app/view/quellan_view.h"
#include "winui/frame_window.h"
#include "winui/menu_bar.h"
#include "winui/message_loop.h"

class CMainFrame : public winui::FrameWindow, public winui::MessageFilter {
 public:
  CMainFrame() = default;
  ~CMainFrame() override;

  // Creates the window; null on failure.
  HWND CreateMainWindow();

  bool PreTranslateMessage(MSG& msg) override;

  const CommandToolbar& Toolbar() const { return toolBar_; }
  const FrameCaption& Caption() const { return caption_; }
  const winui::MenuBar& CommandBar() const { return commandBar_; }
  const CQuellanView& View() const { return view_; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CMainFrame;
  winui::MessageResult OnCreate(const winui::Message& m);
  winui::MessageResult OnDestroy(const winui::Message& m);
  winui::MessageResult OnFileExit(const winui::Message& m);
  winui::MessageResult OnHelpAbout(const winui::Message& m);
  winui::MessageResult OnFrameDefault(const winui::Message& m);
  winui::MessageResult OnNcPaint(const winui::Message& m);
  winui::MessageResult OnNcMouseMove(const winui::Message& m);
  winui::MessageResult OnNcLButtonUp(const winui::Message& m);
  winui::MessageResult OnNcLButtonDown(const winui::Message& m);
  winui::MessageResult OnNcActivate(const winui::Message& m);
  winui::MessageResult OnGetMinMaxInfo(const winui::Message& m);
  winui::MessageResult OnToolCommand(const winui::Message& m);
  winui::MessageResult OnEnableTool(const winui::Message& m);
  winui::MessageResult OnDisableTool(const winui::Message& m);
  winui::MessageResult OnMouseMove(const winui::Message& m);
  winui::MessageResult OnSize(const winui::Message& m);

  HWND CreateRebar();
  void AddBand(HWND rebar, HWND child, int width, int minWidth, int height,
               bool newRow);

  static const winui::MessageMapEntry<CMainFrame> MESSAGE_MAP[];

  CommandToolbar toolBar_;
  FrameCaption caption_;
  CQuellanView view_;
  winui::MenuBar commandBar_;
};
