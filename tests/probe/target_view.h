// The test target's device view: a child window holding the list and texts
// that the probe reads, and the two texts in which the target reports what
// reached it.
#pragma once

#include <windows.h>

#include <string>

HWND CreateTargetView(HWND frame, const RECT& where);
// Shows `event` as the last event.
void ReportEvent(HWND view, const std::wstring& event);
// Adds a command id to the command log and reports it as the last event.
void LogCommand(HWND view, int id);
