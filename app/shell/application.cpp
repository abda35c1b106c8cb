#include "app/shell/application.h"

#include <windows.h>

#include "app/shell/main_frame.h"
#include "winui/message_loop.h"

int RunApplication(int showCommand) {
  winui::MessageLoop loop;
  CMainFrame frame;
  if (frame.CreateMainWindow() == nullptr) return 0;
  ShowWindow(frame.handle(), showCommand);
  return loop.Run();
}
