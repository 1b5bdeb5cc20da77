// Every node loop this processor supports, chosen explicitly, against the plain Vector
// formulation, bit for bit: the vector loops over grids whose rows fill registers partly and
// start at every offset in them, with fixed nodes in any lane, and with exact zero vectors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ClothSetups.h"
#include "QuietOutput.h"
#include "ReferenceCloth.h"
#include "ReferenceComparison.h"
#include "cloth/Cloth.h"
#include "cloth/FastStepKernel.h"
#include "cloth/RandomGenerator.h"

namespace {

using referencecomparison::expectSameAsReference;
using referencecomparison::kDt;
using referencecomparison::matchesReference;

class FastStepKernel : public QuietOutput {
protected:
  // One cloth per supported node loop, each laid out as `shape`.
  void layOut(const ClothShape& shape) {
    cloths_.clear();
    for (StepKernel kernel : {StepKernel::Scalar, StepKernel::Avx2, StepKernel::Avx512}) {
      if (!stepKernelSupported(kernel)) continue;
      cloths_.push_back(std::make_unique<Cloth>());
      ASSERT_EQ(shape.layOut(*cloths_.back()), 0);
      cloths_.back()->stepKernel = kernel;
    }
  }

  std::vector<Cloth*> cloths() const {
    std::vector<Cloth*> all;
    for (const auto& cloth : cloths_) all.push_back(cloth.get());
    return all;
  }

  // Node k at `scale` times its laid-out position in all three buffers of every cloth.
  void scaleNode(int k, double scale) { moveNode(k, scale * cloths_[0]->restPositions->at(k)); }
  void moveNode(int k, const Vec3& p) {
    for (Cloth* cloth : cloths())
      for (NodeBuffer* buffer : {cloth->positions.get(), cloth->previousPositions.get(), cloth->nextPositions.get()})
        buffer->set(k, p);
  }

  // Steps every cloth beside one reference; each must match it and write exactly its
  // zero-normalization messages at every step. Counts the messages the reference wrote. Stops at
  // the first difference: a failure's own text lands in the captured output.
  void stepBesideReference(int steps, int& messages) {
    ReferenceCloth reference(*cloths_[0]);
    for (int s = 0; s < steps; ++s) {
      gusts.seed(s);
      reference.step(kDt, gusts);
      const std::string written = takeOutput();
      messages += static_cast<int>(written.size() / std::string(linalg::kZeroNormalize).size());
      for (Cloth* cloth : cloths()) {
        gusts.seed(s);
        cloth->step(kDt, gusts);
        ASSERT_EQ(takeOutput(), written) << stepKernelName(cloth->stepKernel) << ", step " << s + 1;
        ASSERT_TRUE(matchesReference(*cloth, reference, s + 1)) << stepKernelName(cloth->stepKernel);
      }
    }
  }

  RandomGenerator gusts;
  std::vector<std::unique_ptr<Cloth>> cloths_;
};

TEST_F(FastStepKernel, IrregularGridsInGustsMatchVectorFormulationBitForBit) {
  for (const ClothShape& shape : clothsetups::irregularShapes()) {
    SCOPED_TRACE(::testing::Message() << shape.clothWidth << " x " << shape.clothHeight);
    layOut(shape);
    for (Cloth* cloth : cloths()) clothsetups::setGustyWind(*cloth);
    expectSameAsReference(cloths(), 2000);
  }
}

TEST_F(FastStepKernel, WideGridsWithManyFixedNodesMatchVectorFormulationBitForBit) {
  for (const ClothShape& shape : clothsetups::wideShapes()) {
    SCOPED_TRACE(::testing::Message() << shape.clothWidth << " x " << shape.clothHeight);
    layOut(shape);
    expectSameAsReference(cloths(), 1000);
  }
}

TEST_F(FastStepKernel, LargestGridMatchesVectorFormulationBitForBit) {
  layOut(clothsetups::benchmarkShapes().back());
  expectSameAsReference(cloths(), 100, 50);
}

// Every node at the origin (or −0 where the placement flips a sign): every spring and every normal
// of a free node is an exact zero vector, and the springs to fixed nodes report only once.
TEST_F(FastStepKernel, CollapsedGridsReportLikeVectorFormulation) {
  for (const ClothShape& shape : {ClothShape{0.25f, 3, 3}, ClothShape{0.25f, 19, 2}, ClothShape{0.25f, 11, 5}}) {
    SCOPED_TRACE(::testing::Message() << shape.clothWidth << " x " << shape.clothHeight);
    layOut(shape);
    for (int k = 0; k < cloths_[0]->nodeCount(); ++k) scaleNode(k, 0.0);
    int messages = 0;
    ASSERT_NO_FATAL_FAILURE(stepBesideReference(3, messages));
    EXPECT_GT(messages, 0);
  }
}

// Edges so short that their squares underflow: the length is exactly 0 though the edge is not,
// so the spring force is k × d and the normal is zero, each with its message.
TEST_F(FastStepKernel, EdgesTooShortToSquareReportLikeVectorFormulation) {
  layOut({0.25f, 13, 4});
  for (int k = 0; k < cloths_[0]->nodeCount(); ++k) scaleNode(k, 1e-163);
  int messages = 0;
  stepBesideReference(3, messages);
  EXPECT_GT(messages, 0);
}

// A few coincident neighbours in the middle of a moving sheet: along a row, down a column, on a
// diagonal and onto a fixed node, in lanes at both ends of a register.
TEST_F(FastStepKernel, CoincidentNeighboursReportLikeVectorFormulation) {
  layOut({0.25f, 13, 4});
  const Cloth& first = *cloths_[0];
  moveNode(6, first.restPositions->at(5));
  moveNode(9, first.restPositions->at(8));
  moveNode(13 + 7, first.restPositions->at(7));
  moveNode(26 + 12, first.restPositions->at(13 + 11));
  moveNode(26 + 8, first.restPositions->at(39 + 8));
  int messages = 0;
  stepBesideReference(5, messages);
  EXPECT_GT(messages, 0);
}

}  // namespace
