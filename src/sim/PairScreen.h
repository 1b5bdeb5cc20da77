#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The self-collision pass's cheap first look at its candidate pairs, many pairs at a time: a pair
// whose nodes have not gone far enough since it was last measured is left alone; one that has, and
// that a cheap test shows farther apart than the thickness and this step's moves, is given the
// reading at which it next falls due; the rest are marked to be looked at in full.
struct PairScreen {
  const double* x;
  const double* y;
  const double* z;
  const double* odometer;  // how far each node has gone in all
  const double* moved;     // and how far this step, at most
  double thickness;
  double dueSlack;  // taken from a clear pair's distance for its due: the thickness and a hair
};

// Nodes as (node, triangle's three); the test: the node clear of the triangle's plane all the step.
void screenNodeTriangles(const PairScreen& screen, const std::array<int, 4>* nodes, double* due, std::uint8_t* look,
                         std::size_t count);
// Nodes as (one edge's two, the other's two); the test: the edges' boxes, or the lines through
// them, apart by more than the thickness and the edges' moves, or the edges nearest at an end of
// one (a node near the other edge, which its pairs with the triangles along that edge answer).
void screenEdgePairs(const PairScreen& screen, const std::array<int, 4>* nodes, double* due, std::uint8_t* look,
                     std::size_t count);

// Marks each pair whose nodes' odometers have gone farther, since it was last measured, than it was
// apart then (its due and the thickness): pushes after it may have taken it through itself.
void markPushedThrough(const double* odometer, double thickness, const std::array<int, 4>* nodes, const double* due,
                       std::uint8_t* look, std::size_t count);
