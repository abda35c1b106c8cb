#include "winui/message_loop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "winui/common_controls.h"
#include "winui/message_map.h"

namespace {

constexpr UINT PROBE = WM_APP + 7;

class RecordingFilter : public winui::MessageFilter {
 public:
  RecordingFilter(std::vector<int>& order, int name, bool consumes)
      : order_(order), name_(name), consumes_(consumes) {}
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message != PROBE) return false;
    order_.push_back(name_);
    return consumes_;
  }

 private:
  std::vector<int>& order_;
  int name_;
  bool consumes_;
};

class QuitWhenIdle : public winui::IdleHandler {
 public:
  bool OnIdle() override {
    ++calls;
    PostQuitMessage(7);
    return false;
  }
  int calls = 0;
};

TEST(MessageLoop, IsTheLoopOfItsThreadWhileItLives) {
  EXPECT_EQ(winui::MessageLoop::Current(), nullptr);
  {
    winui::MessageLoop loop;
    EXPECT_EQ(winui::MessageLoop::Current(), &loop);
  }
  EXPECT_EQ(winui::MessageLoop::Current(), nullptr);
}

TEST(MessageLoop, FiltersSeeMessagesLastAddedFirstAndMayConsumeThem) {
  winui::MessageLoop loop;
  std::vector<int> order;
  RecordingFilter first(order, 1, false);
  RecordingFilter second(order, 2, false);
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&second);
  MSG msg{nullptr, PROBE, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(loop.PreTranslate(msg));
  EXPECT_EQ(order, (std::vector<int>{2, 1}));

  RecordingFilter consuming(order, 3, true);
  loop.AddMessageFilter(&consuming);
  order.clear();
  EXPECT_TRUE(loop.PreTranslate(msg));
  EXPECT_EQ(order, (std::vector<int>{3}));

  loop.RemoveMessageFilter(&consuming);
  order.clear();
  EXPECT_FALSE(loop.PreTranslate(msg));
  EXPECT_EQ(order, (std::vector<int>{2, 1}));
}

TEST(MessageLoop, IdleHandlersRunWhenTheQueueIsEmpty) {
  winui::MessageLoop loop;
  QuitWhenIdle idle;
  loop.AddIdleHandler(&idle);
  EXPECT_EQ(loop.Run(), 7);
  EXPECT_EQ(idle.calls, 1);
}

TEST(MessageLoop, AConsumedMessageIsNotDispatched) {
  winui::MessageLoop loop;
  std::vector<int> order;
  RecordingFilter consuming(order, 1, true);
  loop.AddMessageFilter(&consuming);
  PostThreadMessageW(GetCurrentThreadId(), PROBE, 0, 0);
  PostQuitMessage(3);
  EXPECT_EQ(loop.Run(), 3);
  EXPECT_EQ(order, (std::vector<int>{1}));
}

TEST(MessageMap, CommandRowsMatchIdAndCode) {
  const winui::Message click{WM_COMMAND, MAKEWPARAM(32777, BN_CLICKED), 0};
  EXPECT_TRUE(winui::RowMatches(WM_COMMAND, 32777, winui::ANY_CODE, click));
  EXPECT_TRUE(winui::RowMatches(WM_COMMAND, 32777, BN_CLICKED, click));
  EXPECT_FALSE(winui::RowMatches(WM_COMMAND, 32778, winui::ANY_CODE, click));
  EXPECT_FALSE(winui::RowMatches(WM_COMMAND, 32777, BN_DBLCLK, click));
  EXPECT_TRUE(winui::RowMatches(winui::ANY_MESSAGE, winui::ANY_ID,
                                winui::ANY_CODE, click));
  EXPECT_FALSE(
      winui::RowMatches(WM_SIZE, winui::ANY_ID, winui::ANY_CODE, click));
}

TEST(MessageMap, NotifyRowsMatchSenderIdAndCode) {
  NMHDR header{nullptr, 1000, static_cast<UINT>(NM_CLICK)};
  const winui::Message notify{WM_NOTIFY, 1000,
                              reinterpret_cast<LPARAM>(&header)};
  EXPECT_TRUE(winui::RowMatches(WM_NOTIFY, 1000, NM_CLICK, notify));
  EXPECT_FALSE(winui::RowMatches(WM_NOTIFY, 1000, NM_DBLCLK, notify));
  EXPECT_FALSE(winui::RowMatches(WM_NOTIFY, 1002, NM_CLICK, notify));
}

// Rows are tried in order; a row that passes the message on lets the rows
// below it see the message.
class Target {
 public:
  winui::MessageResult PassOn(const winui::Message&) {
    seen.push_back(1);
    return std::nullopt;
  }
  winui::MessageResult Handle(const winui::Message&) {
    seen.push_back(2);
    return 42;
  }
  winui::MessageResult Never(const winui::Message&) {
    seen.push_back(3);
    return 0;
  }
  std::vector<int> seen;
};

TEST(MessageMap, FirstRowThatHandlesWins) {
  static constexpr winui::MessageMapEntry<Target> map[] = {
      winui::OnMessage(WM_SIZE, &Target::PassOn),
      winui::OnMessage(WM_MOVE, &Target::Never),
      winui::OnAnyMessage(&Target::Handle),
      winui::OnMessage(WM_SIZE, &Target::Never),
  };
  Target target;
  const winui::MessageResult result =
      winui::Dispatch(target, map, winui::Message{WM_SIZE, 0, 0});
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(*result, 42);
  EXPECT_EQ(target.seen, (std::vector<int>{1, 2}));
}

}  // namespace
