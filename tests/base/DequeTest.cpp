#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/Deque.h"

namespace {

// Counts live instances so that ownership can be observed.
struct Tracked {
  explicit Tracked(int v) : value(v) { ++alive; }
  ~Tracked() { --alive; }
  int value;
  static int alive;
};
int Tracked::alive = 0;

struct TrackedWithOwnership : public DequeEntry {
  TrackedWithOwnership(Tracked* t, bool o) : item(t), owns(o) {}
  ~TrackedWithOwnership() override {
    if (owns) delete item;
  }
  Tracked* item;
  bool owns;
};

}  // namespace

TEST(Deque, InvalidIndicesReadAsEmpty) {
  StringDeque strings;
  EXPECT_EQ(&emptyString, &strings.get(0));
  EXPECT_EQ(&emptyString, &strings.first());
  strings.add("a");
  EXPECT_EQ(&emptyString, &strings.get(-1));
  EXPECT_EQ(&emptyString, &strings.get(1));
  EXPECT_EQ(0u, strings.get(5).length());

  PtrDeque<Tracked> tracked;
  EXPECT_EQ(nullptr, tracked.get(0));
  EXPECT_EQ(nullptr, tracked.last());
}

TEST(Deque, GrowsByThirtySlotsKeepingOrder) {
  StringDeque strings;
  for (int i = 0; i < 31; ++i) strings.add(fromLong(i));
  EXPECT_EQ(31, strings.count());
  EXPECT_EQ(60, strings.capacity());
  for (int i = 0; i < 31; ++i) EXPECT_EQ(fromLong(i), strings.get(i));
}

TEST(Deque, RemovalDestroysTheElementAndShiftsTheRest) {
  {
    PtrDeque<Tracked> d;
    d.add(new Tracked(1));
    d.add(new Tracked(2));
    d.add(new Tracked(3));
    EXPECT_EQ(3, Tracked::alive);
    d.removeAt(d.count());
    d.removeAt(-1);
    EXPECT_EQ(3, d.count());
    d.removeAt(0);
    EXPECT_EQ(2, Tracked::alive);
    ASSERT_EQ(2, d.count());
    EXPECT_EQ(2, d.get(0)->value);
    EXPECT_EQ(3, d.get(1)->value);
    d.removeLast();
    EXPECT_EQ(2, d.last()->value);
  }
  EXPECT_EQ(0, Tracked::alive);
}

TEST(Deque, MovingHandsOverTheElementsOnce) {
  {
    PtrDeque<Tracked> from;
    from.add(new Tracked(1));
    from.add(new Tracked(2));
    PtrDeque<Tracked> to(std::move(from));
    EXPECT_EQ(0, from.count());
    ASSERT_EQ(2, to.count());
    EXPECT_EQ(2, to.last()->value);

    PtrDeque<Tracked> replaced;
    replaced.add(new Tracked(9));
    replaced = std::move(to);
    EXPECT_EQ(2, Tracked::alive);  // the replaced element is gone
    EXPECT_EQ(1, replaced.first()->value);
    EXPECT_EQ(0, to.count());
    to.add(new Tracked(3));  // a moved-from deque is usable again
    EXPECT_EQ(3, to.first()->value);
  }
  EXPECT_EQ(0, Tracked::alive);
}

TEST(Deque, IndexedInsertion) {
  PtrDeque<Tracked> d;
  d.add(new Tracked(1));
  d.insert(0, new Tracked(0));
  d.insert(-1, new Tracked(2));
  d.insert(d.count(), new Tracked(99));  // not a valid index: ignored and freed
  ASSERT_EQ(3, d.count());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i, d.get(i)->value);
  EXPECT_EQ(3, Tracked::alive);
  d.removeAll();
  EXPECT_EQ(0, Tracked::alive);
  EXPECT_EQ(30, d.capacity());
}

TEST(Deque, EntriesWithoutOwnershipLeaveTheirElementsAlive) {
  Tracked kept(7);
  {
    PtrDeque<Tracked, TrackedWithOwnership> d;
    d.add(new Tracked(1), true);
    d.add(&kept, false);
    EXPECT_EQ(2, Tracked::alive);
  }
  EXPECT_EQ(1, Tracked::alive);
  EXPECT_EQ(7, kept.value);
}

TEST(Deque, StringDequeStoresCopies) {
  StringDeque d;
  SString s("before");
  d.add(s);
  s.append(" after");
  EXPECT_EQ(SString("before"), d.get(0));
}

TEST(Deque, CapacityDoublesInWholeIncrements) {
  // Doubling keeps a long list's appends linear: 200,000 index entries or a
  // million tag-file lines are copied a few times over, not once per 30.
  StringDeque strings;
  std::vector<int> capacities;
  for (int i = 0; i < 1000; ++i) {
    strings.add(SString(fromLong(i)));
    if (capacities.empty() || capacities.back() != strings.capacity()) capacities.push_back(strings.capacity());
  }
  EXPECT_EQ((std::vector<int>{30, 60, 120, 240, 480, 960, 1920}), capacities);
  EXPECT_EQ(SString("999"), strings.last());
  EXPECT_EQ(SString("0"), strings.first());
}
