#include "ui/qt/render/offscreen_session.h"

#include <unistd.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>
#include <system_error>

namespace zeva::ui::qt {

OffscreenSession::OffscreenSession() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Without a session (a script, a build machine) Qt falls back to a runtime
  // folder of its own and warns about it on every run; the same folder is
  // made here, private to the user, so that the tool's output stays clean.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    std::error_code error;
    const auto folder =
        std::filesystem::temp_directory_path(error) / ("runtime-" + std::to_string(::getuid()));
    std::filesystem::create_directories(folder, error);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, error);
    if (!error) qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder.string()));
  }
  application_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

OffscreenSession::~OffscreenSession() = default;

}  // namespace zeva::ui::qt
