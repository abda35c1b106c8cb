// The message loop of one user-interface thread. Message filters see every
// message taken from the queue before it is dispatched and may consume it;
// idle handlers run when the queue has become empty.
#pragma once

#include <windows.h>

#include <vector>

namespace winui {

class MessageFilter {
 public:
  virtual bool PreTranslateMessage(MSG& msg) = 0;

 protected:
  ~MessageFilter() = default;
};

class IdleHandler {
 public:
  // Answers whether more idle work is left.
  virtual bool OnIdle() = 0;

 protected:
  ~IdleHandler() = default;
};

class MessageLoop {
 public:
  // The new loop becomes the loop of the calling thread until it is
  // destroyed.
  MessageLoop();
  ~MessageLoop();
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The loop of the calling thread, or null.
  static MessageLoop* Current();

  void AddMessageFilter(MessageFilter* filter);
  void RemoveMessageFilter(MessageFilter* filter);
  void AddIdleHandler(IdleHandler* handler);
  void RemoveIdleHandler(IdleHandler* handler);

  // Runs until WM_QUIT and answers its exit code.
  int Run();
  // Offers `msg` to the filters, the last added first.
  bool PreTranslate(MSG& msg);

 private:
  bool RunIdleHandlers();

  MessageLoop* previous_;
  std::vector<MessageFilter*> filters_;
  std::vector<IdleHandler*> idleHandlers_;
};

}  // namespace winui
