#include "cli/graphics_hand_over.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <system_error>

#include "cli/cli_context.h"

namespace zeva::cli {

bool isGraphicsVerb(std::string_view verb) {
  return std::find(std::begin(kGraphicsVerbs), std::end(kGraphicsVerbs), verb) !=
         std::end(kGraphicsVerbs);
}

int handOverToGraphics(char** argv, std::ostream& err) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  const auto program =
      (error ? std::filesystem::path(argv[0]) : self).parent_path() / kGraphicsProgram;
  ::execv(program.c_str(), argv);
  err << "zeva-cli: cannot run " << program.string()
      << " for the drawing verbs: " << std::strerror(errno) << '\n';
  return kFailed;
}

}  // namespace zeva::cli
