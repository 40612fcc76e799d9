// The message a test expects from a failing call, read in one line.
#pragma once

#include <functional>
#include <string>

#include "base/LauncherException.h"

// The message of the LauncherException that action throws, or
// "(nothing thrown)".
inline std::string ThrownBy(const std::function<void()>& action) {
  try {
    action();
  } catch (const LauncherException& e) {
    return e.getMessage().c_str();
  }
  return "(nothing thrown)";
}
