#include "record/ClothMesh.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"

namespace {

struct Written {
  double value;
  const char* text;  // what the vertex line holds
};

// The OBJ coordinates: nine significant digits however small or large the value, '.' whatever the
// locale, no exponent where plain decimals serve, and a carry that adds a digit in front.
TEST(ClothMesh, VertexCoordinatesKeepNineSignificantDigits) {
  const Written cases[] = {{0.25, "0.25"},          {-2.125, "-2.125"},          {1.0, "1"},
                           {10.0, "10"},            {0.0, "0"},                  {-1.25e-3, "-0.00125"},
                           {1e-5, "0.00001"},       {9.9999999996, "10"},        {0.99999999996, "1"},
                           {123456789.4, "123456789"}, {1.0 / 3.0, "0.333333333"}, {-2.0 / 3e-7, "-6666666.67"},
                           {1.0 / 3e6, "0.000000333333333"}, {2.5e9, "2.5e+09"},  {7e-13, "7e-13"}};
  const int count = sizeof cases / sizeof cases[0];
  Cloth cloth;
  ASSERT_EQ((ClothShape{0.25f, count, 3}).layOut(cloth), 0);
  for (int k = 0; k < count; ++k) {
    cloth.positions->x[k] = cases[k].value;
    cloth.positions->y[k] = -cases[k].value;
  }
  std::istringstream lines(clothmesh::objVertices(cloth));
  for (int k = 0; k < count; ++k) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    std::istringstream words(line);
    std::string v, x, y, z;
    words >> v >> x >> y >> z;
    EXPECT_EQ(v, "v");
    EXPECT_EQ(x, cases[k].text) << cases[k].value;
    const std::string text = cases[k].text;
    EXPECT_EQ(y, text == "0" ? text : text[0] == '-' ? text.substr(1) : "-" + text) << "the sign alone differs";
    const double read = std::strtod(x.c_str(), nullptr);
    EXPECT_NEAR(read, cases[k].value, 5e-9 * std::abs(cases[k].value)) << x;
  }
}

// Cells are quads wound down, right, up (normal +z in the document's placement); u runs along a
// row and v down the rows.
TEST(ClothMesh, TrianglesAndTextureCoordinatesOfAThreeByTwoGrid) {
  Cloth cloth;
  ASSERT_EQ((ClothShape{0.25f, 3, 3}).layOut(cloth), 0);
  const std::vector<unsigned> expected{0, 3, 4, 0, 4, 1, 1, 4, 5, 1, 5, 2, 3, 6, 7, 3, 7, 4, 4, 7, 8, 4, 8, 5};
  EXPECT_EQ(clothmesh::triangleIndices(cloth), expected);
  const std::vector<float> uv = clothmesh::textureCoordinates(cloth);
  EXPECT_EQ(uv, (std::vector<float>{0, 0, 0.5f, 0, 1, 0, 0, 0.5f, 0.5f, 0.5f, 1, 0.5f, 0, 1, 0.5f, 1, 1, 1}));
  const Vec3 a = cloth.positions->at(0), b = cloth.positions->at(3), c = cloth.positions->at(4);
  EXPECT_GT(cross(b - a, c - a).z, 0.0);
}

}  // namespace
