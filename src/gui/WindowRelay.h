#pragma once

#include <cstdio>

#include "core/model/Ports.h"

namespace varnek {

// The window's port for a bot that exists before its window: forwards to the
// window once there is one and does nothing before.
class WindowRelay : public WindowPort {
 public:
  void Set(WindowPort* window) { window_ = window; }
  void Focus(const std::string& control) override {
    if (window_ != nullptr) {
      window_->Focus(control);
    }
  }
  void SetApplicationIcon(IconKind icon) override {
    if (window_ != nullptr) {
      window_->SetApplicationIcon(icon);
    }
  }
  void ScrollToEnd(const std::string& pane) override {
    if (window_ != nullptr) {
      window_->ScrollToEnd(pane);
    }
  }
  void EndProgram() override {
    if (window_ != nullptr) {
      window_->EndProgram();
    }
  }
  // Standard error, window or not: the warnings of the settings file come
  // before the window exists.
  void TellOperator(const std::string& text) override {
    std::fprintf(stderr, "varnek: %s\n", text.c_str());
    std::fflush(stderr);
  }

 private:
  WindowPort* window_ = nullptr;
};

}  // namespace varnek
