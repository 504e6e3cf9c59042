#include "core/counted_ptr.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_env.h"

namespace {

// A pointee that records the calls the handle makes.
struct probe {
  int ref_count = 0;
  int add_refs = 0;
  int releases = 0;
  int lowest = 0;  // the lowest count ever seen
  void add_ref() {
    ++ref_count;
    ++add_refs;
  }
  void release() {
    --ref_count;
    ++releases;
    if (ref_count < lowest) lowest = ref_count;
  }
  int value = 42;
};

TEST(CountedPtr, NullHandleMakesNoCalls) {
  { counted_ptr<probe> h(nullptr); }
  counted_ptr<probe> empty;
  EXPECT_EQ(nullptr, empty.get());
  EXPECT_FALSE(empty);
}

TEST(CountedPtr, TwoHandlesCountTwoAndDropBack) {
  probe p;
  {
    counted_ptr<probe> a(&p);
    counted_ptr<probe> b(a);
    EXPECT_EQ(2, p.ref_count);
  }
  EXPECT_EQ(0, p.ref_count);
  EXPECT_EQ(42, p.value);  // the handle never destroys its pointee
}

TEST(CountedPtr, AssignmentReleasesOldAndCountsNew) {
  probe first, second;
  counted_ptr<probe> h(&first);
  counted_ptr<probe> other(&second);
  h = other;
  EXPECT_EQ(0, first.ref_count);
  EXPECT_EQ(2, second.ref_count);
  h = nullptr;
  EXPECT_EQ(1, second.ref_count);
}

TEST(CountedPtr, SelfAssignmentNeverDipsBelowRest) {
  probe p;
  p.ref_count = -1;  // a holder resting at 0 once its handle is counted
  p.lowest = -1;
  counted_ptr<probe> h(&p);
  EXPECT_EQ(0, p.ref_count);
  h = h;
  h = &p;
  EXPECT_EQ(0, p.ref_count);
  EXPECT_EQ(-1, p.lowest);  // never went below where it started
}

TEST(CountedPtr, VectorOperationsStayBalanced) {
  probe a, b;
  {
    std::vector<counted_ptr<probe>> v;
    for (int i = 0; i < 50; ++i) v.push_back(counted_ptr<probe>(i % 2 ? &a : &b));
    v.erase(v.begin(), v.begin() + 10);
    EXPECT_EQ(20, a.ref_count);
    EXPECT_EQ(20, b.ref_count);
  }
  EXPECT_EQ(0, a.ref_count);
  EXPECT_EQ(0, b.ref_count);
}

TEST(CountedPtr, ArrowOnEmptyHandlePrintsOncePerUseWithoutLineEnd) {
  counted_ptr<probe> empty;
  std::string log = capture_stdout([&] {
    EXPECT_EQ(nullptr, empty.operator->());
    EXPECT_EQ(nullptr, empty.operator->());
  });
  EXPECT_EQ("Tried to -> on a NULL smart pointerTried to -> on a NULL smart pointer", log);
  probe p;
  counted_ptr<probe> full(&p);
  EXPECT_EQ("", capture_stdout([&] { EXPECT_EQ(42, full->value); }));
}

}  // namespace
