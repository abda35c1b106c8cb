#include "winui/message_loop.h"

#include <algorithm>

namespace winui {

namespace {

thread_local MessageLoop* currentLoop = nullptr;

template <class T>
void Remove(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// Messages after which the idle handlers need not run again: the loop would
// otherwise call them for every repaint and timer tick.
bool EndsIdle(const MSG& msg) {
  return msg.message != WM_PAINT && msg.message != WM_TIMER &&
         msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE;
}

}  // namespace

MessageLoop::MessageLoop() : previous_(currentLoop) { currentLoop = this; }

MessageLoop::~MessageLoop() { currentLoop = previous_; }

MessageLoop* MessageLoop::Current() { return currentLoop; }

void MessageLoop::AddMessageFilter(MessageFilter* filter) {
  filters_.push_back(filter);
}

void MessageLoop::RemoveMessageFilter(MessageFilter* filter) {
  Remove(filters_, filter);
}

void MessageLoop::AddIdleHandler(IdleHandler* handler) {
  idleHandlers_.push_back(handler);
}

void MessageLoop::RemoveIdleHandler(IdleHandler* handler) {
  Remove(idleHandlers_, handler);
}

bool MessageLoop::PreTranslate(MSG& msg) {
  // A filter may remove itself or others while it runs: index the live list.
  for (std::size_t i = filters_.size(); i > 0; --i) {
    if (i > filters_.size()) continue;
    if (filters_[i - 1]->PreTranslateMessage(msg)) return true;
  }
  return false;
}

bool MessageLoop::RunIdleHandlers() {
  bool more = false;
  for (std::size_t i = 0; i < idleHandlers_.size(); ++i) {
    more = idleHandlers_[i]->OnIdle() || more;
  }
  return more;
}

int MessageLoop::Run() {
  bool idlePending = true;
  MSG msg{};
  for (;;) {
    while (idlePending && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      idlePending = RunIdleHandlers();
    }
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (got == 0) return static_cast<int>(msg.wParam);
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (EndsIdle(msg)) idlePending = true;
  }
}

}  // namespace winui
