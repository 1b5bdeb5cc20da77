#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cloth/Cloth.h"
#include "cloth/ClothParameters.h"
#include "cloth/MaterialPresets.h"

namespace {

// The cells of each row of the README's parameter table, without their padding and backticks.
std::vector<std::vector<std::string>> readmeParameterRows() {
  std::ifstream readme(LOOMWISE_README);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  bool inSection = false;
  while (std::getline(readme, line)) {
    if (line.rfind("## ", 0) == 0) inSection = line == "## The cloth's parameters";
    if (!inSection || line.rfind("| `", 0) != 0) continue;
    std::vector<std::string> cells;
    std::stringstream row(line.substr(1));
    for (std::string cell; std::getline(row, cell, '|');) {
      cell = cell.substr(cell.find_first_not_of(' '));
      cell = cell.substr(0, cell.find_last_not_of(' ') + 1);
      if (cell.size() > 1 && cell.front() == '`') cell = cell.substr(1, cell.size() - 2);
      cells.push_back(cell);
    }
    rows.push_back(cells);
  }
  return rows;
}

TEST(ClothParameters, TheReadmeTableListsEveryTunableAsTheTableGivesIt) {
  const auto rows = readmeParameterRows();
  ASSERT_EQ(rows.size(), std::size(kClothParameters));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ClothParameter& p = kClothParameters[i];
    ASSERT_EQ(rows[i].size(), 6u) << p.name;
    EXPECT_EQ(rows[i][0], p.name);
    EXPECT_EQ(std::stod(rows[i][1]), p.minimum) << p.name;
    EXPECT_EQ(std::stod(rows[i][2]), p.maximum) << p.name;
    EXPECT_EQ(std::stod(rows[i][3]), p.value) << p.name;
    EXPECT_EQ(rows[i][4], p.unit) << p.name;
    EXPECT_EQ(rows[i][5], p.meaning) << p.name;
  }
}

TEST(ClothParameters, ANewClothsCachedCopiesAreTheTablesDefaults) {
  const Cloth cloth;
  for (const ClothParameter& p : kClothParameters) EXPECT_EQ(cloth.parameters.valueOf(p.name), p.value) << p.name;
  const double cached[] = {cloth.cDamping, cloth.density,     cloth.gravityVector.y, cloth.kBend,
                           cloth.kShear,   cloth.kStretch,    cloth.windMinimum,     cloth.windPressure,
                           cloth.windFrequency, cloth.windAngle};
  for (std::size_t i = 0; i < std::size(kClothParameters); ++i)
    EXPECT_EQ(cached[i], kClothParameters[i].value) << kClothParameters[i].name;
}

// Flag is the defaults, and every preset's value lies in its parameter's range as it stands.
TEST(ClothParameters, PresetsAreTheDefaultsOrWithinTheRanges) {
  for (const MaterialPreset::Value& v : kMaterialPresets[0].values) EXPECT_EQ(v.value, clothDefault(v.parameter));
  for (const MaterialPreset& preset : kMaterialPresets)
    for (const MaterialPreset::Value& v : preset.values) {
      const ClothParameter* p = findClothParameter(v.parameter);
      ASSERT_NE(p, nullptr) << preset.name;
      EXPECT_TRUE(v.value >= p->minimum && v.value <= p->maximum) << preset.name << " " << v.parameter;
    }
}

// Saved values from elsewhere: clamped into range, unknown names and NaN passed over.
TEST(ClothParameters, AppliedValuesAreClampedAndUnknownOnesSkipped) {
  Cloth cloth;
  const std::pair<std::string, double> values[] = {
      {"kBend", 1e9}, {"gravity", -1e9}, {"noSuch", 1.0}, {"density", std::nan("")}, {"kShear", 10.0}};
  applyParameterValues(cloth.parameters, values);
  EXPECT_EQ(cloth.parameters.valueOf("kBend"), 2000.0);
  EXPECT_EQ(cloth.parameters.valueOf("gravity"), -20.0);
  EXPECT_EQ(cloth.parameters.valueOf("density"), 0.3);
  EXPECT_EQ(cloth.parameters.valueOf("kShear"), 10.0);
}

}  // namespace
