#pragma once
// Qt painting needs an application object for its fonts. Command-line tools
// and tests that draw without a window create one on the offscreen platform
// (unless QT_QPA_PLATFORM names another); an existing application is used as
// it is.

#include <memory>

class QGuiApplication;

namespace zeva::ui::qt {

class OffscreenSession {
 public:
  OffscreenSession();
  ~OffscreenSession();
  OffscreenSession(const OffscreenSession&) = delete;
  OffscreenSession& operator=(const OffscreenSession&) = delete;

 private:
  int argc_ = 1;
  char name_[9] = "zeva-cli";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace zeva::ui::qt
