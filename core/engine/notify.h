// How the program tells the user of a failure: one function, so that every
// error message of the program goes through one place. On Windows it is a
// message box with the error icon; elsewhere the text goes to standard error.
// Tests install their own notifier to see the messages instead of leaving a
// box open that waits for a click.
#pragma once

#include <string>

constexpr const wchar_t* APP_CAPTION = L"Quellan";

// `owner` is the owning window's handle, or null for none.
using UserNotifier = void (*)(const std::wstring& text,
                              const std::wstring& caption, void* owner);

void NotifyUser(const std::wstring& text,
                const std::wstring& caption = APP_CAPTION,
                void* owner = nullptr);

// Installs `notifier` (null restores the platform's own) and returns the one
// it replaces.
UserNotifier SetUserNotifier(UserNotifier notifier);

// The platform's own notifier.
void PlatformNotify(const std::wstring& text, const std::wstring& caption,
                    void* owner);
