// A thread that stands in for the user-interface thread in headless tests:
// work posted to it runs there, one item at a time, in order.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

class UiThread {
 public:
  UiThread() : thread_([this] { Loop(); }) {}
  ~UiThread() {
    Post({});
    thread_.join();
  }
  void Post(std::function<void()> work) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      queue_.push_back(std::move(work));
    }
    ready_.notify_one();
  }
  // Runs `work` there and waits for it.
  void Run(const std::function<void()>& work) {
    std::promise<void> done;
    Post([&] {
      work();
      done.set_value();
    });
    done.get_future().wait();
  }

 private:
  void Loop() {
    for (;;) {
      std::function<void()> work;
      {
        std::unique_lock<std::mutex> hold(lock_);
        ready_.wait(hold, [this] { return !queue_.empty(); });
        work = std::move(queue_.front());
        queue_.pop_front();
      }
      if (!work) return;
      work();
    }
  }
  std::mutex lock_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> queue_;
  std::thread thread_;
};
