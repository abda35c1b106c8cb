// The probe's commands, one per invocation. Each prints JSON lines on stdout
// and returns an ExitCode; main() has checked the number of arguments.
#pragma once

#include "tools/probe/invocation.h"

namespace probe {

// The frame, its toolbar and the view's controls.
int WaitWindow(const Invocation& invocation);
int WaitClosed(const Invocation& invocation);
int PostCommand(const Invocation& invocation);
int ToolEnabled(const Invocation& invocation);
int WaitToolEnabled(const Invocation& invocation);
int ClickTool(const Invocation& invocation);
int ControlEnabled(const Invocation& invocation);
int ControlText(const Invocation& invocation);
int FoundText(const Invocation& invocation);
int WaitText(const Invocation& invocation);
int ControlClick(const Invocation& invocation);
// Starts a search and measures it until the search button comes back.
int SearchWatch(const Invocation& invocation);

// The device list and its header.
int Rows(const Invocation& invocation);
int RowCount(const Invocation& invocation);
int CheckRow(const Invocation& invocation);
int SelectRow(const Invocation& invocation);
int ClickRow(const Invocation& invocation);
int DoubleClickRow(const Invocation& invocation);
int ClickHeader(const Invocation& invocation);
int HeaderFormat(const Invocation& invocation);
int WaitHeaderFormat(const Invocation& invocation);
int Headers(const Invocation& invocation);

// Modal dialogs and message boxes.
int DescribeDialog(const Invocation& invocation);
int DescribeMessageBox(const Invocation& invocation);
int DialogSetText(const Invocation& invocation);
int DialogSetAddress(const Invocation& invocation);
int DialogSelectEntry(const Invocation& invocation);
int DialogClick(const Invocation& invocation);
int Dismiss(const Invocation& invocation);

}  // namespace probe
