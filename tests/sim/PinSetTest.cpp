#include "sim/PinSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<int> fixedOf(const FixedNodes& fixed) {
  std::vector<int> nodes;
  for (int k = 0; k < fixed.nodeCount(); ++k)
    if (fixed.contains(k)) nodes.push_back(k);
  return nodes;
}

struct PresetCase {
  const char* name;
  std::vector<int> nodes;  // on a grid 9 wide and 3 high
};

void PrintTo(const PresetCase& c, std::ostream* out) { *out << c.name; }

class PinPresets : public ::testing::TestWithParam<PresetCase> {};

TEST_P(PinPresets, FixTheirNodesOfTheGrid) {
  const PresetCase& c = GetParam();
  const std::optional<PinSet::Preset> preset = PinSet::presetNamed(c.name);
  ASSERT_TRUE(preset.has_value());
  EXPECT_STREQ(PinSet::nameOf(*preset), c.name);
  EXPECT_EQ(fixedOf(PinSet(*preset).on(9, 3)), c.nodes);
}

INSTANTIATE_TEST_SUITE_P(Presets, PinPresets,
                         ::testing::Values(PresetCase{"default", {0, 8}},
                                           PresetCase{"top-edge", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                           PresetCase{"top-corners", {0, 8}}, PresetCase{"left-edge", {0, 9, 18}},
                                           PresetCase{"none", {}}),
                         [](const ::testing::TestParamInfo<PresetCase>& info) {
                           std::string name = info.param.name;
                           name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                           return name;
                         });

// A list keeps its own nodes: on a smaller grid the ones outside it are left out.
TEST(PinSet, ListedNodesOutsideTheGridAreLeftOut) {
  const PinSet pins({{2, 1}, {0, 0}, {5, 5}, {0, 0}});
  EXPECT_EQ(pins.nodes().size(), 3u) << "sorted, the repeat dropped";
  EXPECT_EQ(fixedOf(pins.on(4, 3)), (std::vector<int>{0, 9}));
  EXPECT_FALSE(PinSet::presetNamed("top").has_value());
}

}  // namespace
