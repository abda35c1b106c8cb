#include "tools/devsim/schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tools/devsim/device_set.h"
#include "tools/devsim/options.h"
#include "tools/devsim/search_plan.h"

namespace devsim {
namespace {

// In every span [a, b] of send times a token bucket lets at most
// burst + rate * (b - a + 1 us) sends through.
void ExpectWithinRate(const std::vector<Micros>& sent, std::int64_t rate,
                      std::int64_t burst) {
  ASSERT_TRUE(std::is_sorted(sent.begin(), sent.end()));
  for (std::size_t i = 0; i < sent.size(); ++i) {
    for (std::size_t j = i; j < sent.size(); ++j) {
      const std::int64_t count = static_cast<std::int64_t>(j - i + 1);
      if (count * 1000000 > burst * 1000000 + (sent[j] - sent[i] + 1) * rate) {
        FAIL() << count << " sends between " << sent[i] << " and " << sent[j]
               << " us";
      }
    }
  }
}

TEST(Pacer, LetsABurstGoThenOneEveryIntervalAtTheRate) {
  Pacer pacer(5000, 3);
  EXPECT_EQ(pacer.ReadyAt(1000), 1000);
  EXPECT_TRUE(pacer.TryTake(1000));
  EXPECT_TRUE(pacer.TryTake(1000));
  EXPECT_TRUE(pacer.TryTake(1000));
  EXPECT_FALSE(pacer.TryTake(1000));
  EXPECT_EQ(pacer.ReadyAt(1000), 1200);
  EXPECT_FALSE(pacer.TryTake(1199));
  EXPECT_TRUE(pacer.TryTake(1200));
  EXPECT_EQ(pacer.ReadyAt(1250), 1400);
  // A long pause refills the bucket to the burst, not beyond.
  const Micros later = 3600000000LL;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(pacer.TryTake(later));
  EXPECT_FALSE(pacer.TryTake(later));
}

TEST(Pacer, FractionalIntervalsAddUpToTheRate) {
  Pacer pacer(3000, 1);
  std::vector<Micros> sent;
  Micros now = 0;
  while (sent.size() < 3001) {
    now = pacer.ReadyAt(now);
    ASSERT_TRUE(pacer.TryTake(now));
    sent.push_back(now);
  }
  EXPECT_LE(sent.back(), 1000000);
  EXPECT_GE(sent.back(), 999000);
}

TEST(PacedSchedule, SendsInDueOrderAndNeverEarly) {
  PacedSchedule schedule(1000000, 1000);
  const Micros dues[] = {500, 100, 300, 100, 200};
  for (std::uint32_t i = 0; i < 5; ++i) {
    SendItem item;
    item.index = i;
    schedule.Add(dues[i], item);
  }
  SendItem item;
  EXPECT_FALSE(schedule.TakeDue(99, &item));
  EXPECT_EQ(schedule.NextSendAt(0), 100);
  std::vector<std::uint32_t> order;
  Micros now = 0;
  while (schedule.Pending() > 0) {
    now = schedule.NextSendAt(now);
    ASSERT_TRUE(schedule.TakeDue(now, &item));
    EXPECT_EQ(now, dues[item.index]);
    order.push_back(item.index);
  }
  EXPECT_EQ(order, (std::vector<std::uint32_t>{1, 3, 4, 2, 0}));
  EXPECT_EQ(schedule.NextSendAt(now), NEVER);
  EXPECT_FALSE(schedule.TakeDue(NEVER - 1, &item));
}

struct LoopCase {
  const char* name;
  // How late the loop may wake after the time it asked for.
  Micros lateness;
};

// 5000 devices answering one search, driven as the simulator's loop drives
// the schedule: wake at NextSendAt rounded up to whole milliseconds, plus
// some lateness, then send whatever TakeDue allows.
TEST(PacedSchedule,
     FiveThousandRepliesKeepTheRateAndFinishWellUnderTwoSeconds) {
  Subnet subnet;
  std::string error;
  ASSERT_TRUE(ParseSubnet("10.77.0.0/19", &subnet, &error));
  const GeneratedSet set = GenerateDevices(5000, subnet, 1);
  ASSERT_TRUE(set.ok) << set.error;
  const LoopCase CASES[] = {
      {"punctual", 0}, {"late 2 ms", 2000}, {"late 5 ms", 5000}};
  for (const LoopCase& c : CASES) {
    SCOPED_TRACE(c.name);
    PacedSchedule schedule(DEFAULT_RATE, DEFAULT_BURST);
    Rng rng(7);
    const Micros searchAt = 1000;
    const PlannedSearch plan = PlanSearch(
        set.devices, 0, AnswerWindow{0, 300000}, searchAt, rng, schedule);
    ASSERT_EQ(plan.replies, 5000u);
    std::vector<Micros> sent;
    std::map<std::uint32_t, int> perDevice;
    Micros now = searchAt;
    while (schedule.Pending() > 0) {
      const Micros next = schedule.NextSendAt(now);
      now = std::max(now, (next + 999) / 1000 * 1000 + c.lateness);
      SendItem item;
      while (schedule.TakeDue(now, &item)) {
        sent.push_back(now);
        ++perDevice[item.index];
      }
    }
    ASSERT_EQ(sent.size(), 5000u);
    EXPECT_EQ(perDevice.size(), 5000u);
    ExpectWithinRate(sent, DEFAULT_RATE, DEFAULT_BURST);
    EXPECT_LT(sent.back() - searchAt, 1500000);
  }
}

TEST(SearchPlan, RepeatsNoiseAndTheWindowAreHonoured) {
  std::vector<SimDevice> devices(3);
  devices[0].repeat = 0;
  devices[1].repeat = 1;
  devices[2].repeat = 3;
  PacedSchedule schedule(1000000, 1000000);
  Rng rng(99);
  const PlannedSearch plan = PlanSearch(devices, 5, AnswerWindow{20000, 50000},
                                        1000000, rng, schedule);
  EXPECT_EQ(plan.replies, 4u);
  EXPECT_EQ(plan.noise, 5u);
  std::map<std::uint32_t, int> replies;
  std::vector<std::uint32_t> noise;
  Micros now = 0;
  while (schedule.Pending() > 0) {
    now = schedule.NextSendAt(now);
    EXPECT_GE(now, 1020000);
    EXPECT_LE(now, 1050000);
    SendItem item;
    ASSERT_TRUE(schedule.TakeDue(now, &item));
    if (item.kind == SendItem::Kind::Reply) {
      ++replies[item.index];
    } else {
      noise.push_back(item.index);
    }
  }
  EXPECT_EQ(replies, (std::map<std::uint32_t, int>{{1, 1}, {2, 3}}));
  std::sort(noise.begin(), noise.end());
  EXPECT_EQ(noise, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
}

std::vector<Micros> DueTimes(std::uint64_t randomStart) {
  std::vector<SimDevice> devices(50);
  PacedSchedule schedule(1000000, 1000000);
  Rng rng(randomStart);
  PlanSearch(devices, 0, AnswerWindow{0, 300000}, 0, rng, schedule);
  std::vector<Micros> dues;
  Micros now = 0;
  SendItem item;
  while (schedule.Pending() > 0) {
    now = schedule.NextSendAt(now);
    schedule.TakeDue(now, &item);
    dues.push_back(now);
  }
  return dues;
}

TEST(SearchPlan, TheRandomStartDecidesTheDelays) {
  EXPECT_EQ(DueTimes(5), DueTimes(5));
  EXPECT_NE(DueTimes(5), DueTimes(6));
  Rng rng(1);
  for (int i = 0; i < 1000; ++i) {
    const std::int64_t value = rng.Between(-3, 3);
    ASSERT_GE(value, -3);
    ASSERT_LE(value, 3);
  }
  EXPECT_EQ(rng.Between(4, 4), 4);
}

}  // namespace
}  // namespace devsim
