#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// A fixture that fails a test when anything reaches standard output that the test did not
// announce: the linear-algebra messages must appear exactly where expected and nowhere else.
class QuietOutput : public ::testing::Test {
protected:
  void SetUp() override { ::testing::internal::CaptureStdout(); }
  void TearDown() override {
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected_) << "unexpected standard output";
  }
  // Announces output that the rest of the test will write.
  void expectOutput(const std::string& text) { expected_ += text; }

  // Checks what has been written since the last check, then keeps listening.
  std::string outputSoFar() {
    std::fflush(stdout);
    std::string written = ::testing::internal::GetCapturedStdout();
    ::testing::internal::CaptureStdout();
    const std::string announced = expected_;
    expected_.clear();
    EXPECT_EQ(written, announced);
    return written;
  }

private:
  std::string expected_;
};
