#pragma once
#include <gtest/gtest.h>

#include <cstdio>

template <typename Fn>
std::string capture_stdout(Fn fn) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  fn();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}
