#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cloth/Cloth.h"
#include "cloth/ParameterList.h"

namespace {

std::vector<Parameter*> collectAll(const ParameterList& list) {
  std::vector<Parameter*> records(list.count());
  const int stored = list.collect(records.data());
  EXPECT_EQ(stored, list.count());
  return records;
}

std::vector<std::string> namesOf(const std::vector<Parameter*>& records) {
  std::vector<std::string> names;
  for (const Parameter* p : records) names.push_back(p->name);
  return names;
}

TEST(ParameterListBuckets, SumOfSignedCharactersModulo41) {
  const ParameterList list;
  EXPECT_EQ(list.bucketOf(""), 0);
  EXPECT_EQ(list.bucketOf("A"), 24);  // 65 − 41
  EXPECT_EQ(list.bucketOf(")"), 0);   // 41
  EXPECT_EQ(list.bucketOf("*"), 1);
  EXPECT_EQ(list.bucketOf("AB"), 8);  // 131 − 3 × 41
  EXPECT_EQ(list.bucketOf("BA"), 8) << "the order of the characters does not count";
}

TEST(ParameterListBuckets, BucketsOfTheClothsNames) {
  const ParameterList list;
  EXPECT_EQ(list.bucketOf("windMinimum"), 18);
  EXPECT_EQ(list.bucketOf("kStretch"), 20);
  EXPECT_EQ(list.bucketOf("windPressure"), 20);
  EXPECT_EQ(list.bucketOf("cDamping"), 24);
  EXPECT_EQ(list.bucketOf("windFrequency"), 27);
  EXPECT_EQ(list.bucketOf("density"), 30);
  EXPECT_EQ(list.bucketOf("kShear"), 32);
  EXPECT_EQ(list.bucketOf("kBend"), 33);
  EXPECT_EQ(list.bucketOf("gravity"), 36);
}

// Callers only use 7-bit names; a byte above 127 counts negatively and must still land in the table.
TEST(ParameterListBuckets, BytesAbove127StayInsideTheTable) {
  ParameterList list;
  EXPECT_EQ(list.bucketOf("\xff"), 40);  // −1
  EXPECT_EQ(list.bucketOf("\x80\x80"), 31);  // −256 = −7 × 41 + 31
  list.insert(Parameter("\xff\xfe", 0.0, 1.0, 0.5));
  ASSERT_NE(list.find("\xff\xfe"), nullptr);
  EXPECT_EQ(list.valueOf("\xff\xfe"), 0.5);
}

TEST(ParameterListRecords, EmptyListHoldsNothing) {
  const ParameterList list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.find("gravity"), nullptr);
  EXPECT_EQ(list.valueOf("gravity"), 0.0);
  EXPECT_EQ(list.collect(nullptr), 0);
}

TEST(ParameterListRecords, InsertStoresAnIndependentCopy) {
  ParameterList list;
  Parameter original("kBend", 0.0, 2000.0, 150.0);
  Parameter* stored = list.insert(original);
  ASSERT_NE(stored, nullptr);
  EXPECT_NE(stored, &original);
  original.value = 1.0;
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(list.find("kBend"), stored);
  EXPECT_EQ(stored->minimum, 0.0);
  EXPECT_EQ(stored->maximum, 2000.0);
  EXPECT_EQ(stored->value, 150.0);
}

// The range is advice for the panel: a value outside it is kept as given.
TEST(ParameterListRecords, ValueOutsideTheRangeIsKept) {
  ParameterList list;
  list.insert(Parameter("density", 0.05, 5.0, 99.0));
  EXPECT_EQ(list.valueOf("density"), 99.0);
}

TEST(ParameterListLookup, NamesMatchExactlyAndCaseSensitively) {
  const Cloth cloth;
  const ParameterList& list = cloth.parameters;
  EXPECT_EQ(list.valueOf("gravity"), -9.8);
  for (const char* near : {"Gravity", "GRAVITY", "grav", "gravity ", " gravity", "gravityX", ""}) {
    EXPECT_EQ(list.find(near), nullptr) << near;
    EXPECT_EQ(list.valueOf(near), 0.0) << near;
  }
}

// kStretch and windPressure share bucket 20: find has to walk past the head of the chain.
TEST(ParameterListLookup, NamesSharingABucketAreBothFound) {
  const Cloth cloth;
  const Parameter* stretch = cloth.parameters.find("kStretch");
  const Parameter* pressure = cloth.parameters.find("windPressure");
  ASSERT_NE(stretch, nullptr);
  ASSERT_NE(pressure, nullptr);
  EXPECT_EQ(stretch->value, 8000.0);
  EXPECT_EQ(pressure->value, 20.0);
  EXPECT_EQ(pressure->next, stretch) << "the later insert heads the chain";
}

TEST(ParameterListCollect, TheClothsListInBucketAndChainOrder) {
  const Cloth cloth;
  ASSERT_EQ(cloth.parameters.count(), 10);
  const std::vector<Parameter*> records = collectAll(cloth.parameters);
  EXPECT_EQ(namesOf(records),
            (std::vector<std::string>{"windDirection", "windMinimum", "windPressure", "kStretch", "cDamping", "windFrequency", "density",
                                      "kShear", "kBend", "gravity"}));
}

TEST(ParameterListCollect, TheClothsRangesAndDefaults) {
  struct Expected {
    const char* name;
    double minimum, maximum, value;
  };
  const Expected table[] = {
      {"cDamping", 0.0, 5.0, 0.15},         {"density", 0.05, 5.0, 0.3},
      {"gravity", -20.0, 20.0, -9.8},       {"kBend", 0.0, 2000.0, 150.0},
      {"kShear", 0.0, 8000.0, 4000.0},      {"kStretch", 0.0, 16000.0, 8000.0},
      {"windMinimum", -500.0, 500.0, 40.0}, {"windPressure", -500.0, 500.0, 20.0},
      {"windFrequency", 0.0, 50.0, 6.0},    {"windDirection", -180.0, 180.0, 0.0},
  };
  const Cloth cloth;
  for (const Expected& e : table) {
    const Parameter* p = cloth.parameters.find(e.name);
    ASSERT_NE(p, nullptr) << e.name;
    EXPECT_EQ(p->minimum, e.minimum) << e.name;
    EXPECT_EQ(p->maximum, e.maximum) << e.name;
    EXPECT_EQ(p->value, e.value) << e.name;
  }
}

// A second record of a name shadows the first for find and valueOf, while count and collect see both.
TEST(ParameterListCollect, SecondRecordOfANameShadowsTheFirst) {
  Cloth cloth;
  Parameter* first = cloth.parameters.find("kStretch");
  Parameter* second = cloth.parameters.insert(Parameter("kStretch", 0.0, 100.0, 42.0));
  EXPECT_EQ(cloth.parameters.count(), 11);
  EXPECT_EQ(cloth.parameters.find("kStretch"), second);
  EXPECT_EQ(cloth.parameters.valueOf("kStretch"), 42.0);
  const std::vector<Parameter*> records = collectAll(cloth.parameters);
  EXPECT_EQ(namesOf(records),
            (std::vector<std::string>{"windDirection", "windMinimum", "kStretch", "windPressure", "kStretch",
                                      "cDamping", "windFrequency", "density", "kShear", "kBend", "gravity"}));
  EXPECT_EQ(records[2], second);
  EXPECT_EQ(records[4], first);
}

}  // namespace
