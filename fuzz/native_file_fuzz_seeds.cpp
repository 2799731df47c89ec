// Writes the seed corpus of the native-file fuzz target: the default sounding
// and a sounding with voltage and current, shift segments, resolution,
// equivalence results and a smooth model, each as written by the writer.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/current_sounding.h"
#include "files/native_file_writer.h"
#include "ui/scripted_toolkit.h"

namespace {

bool save(zeva::core::CurrentSounding& current, const std::filesystem::path& file) {
  zeva::ui::ScriptedToolkit toolkit;
  zeva::files::StringSink sink;
  if (!zeva::files::writeNativeFile(sink, current, toolkit).complete) return false;
  std::ofstream out(file, std::ios::binary);
  out << sink.bytes();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zeva;
  if (argc != 2) {
    std::fprintf(stderr, "usage: native_file_fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);

  core::CurrentSounding current;
  core::resetToDefault(current);
  if (!save(current, folder / "default.ZVR")) return 1;

  // Two segment breaks, a resolution matrix, equivalence results and a
  // six-layer smooth model on the default data.
  current.S.header.NSHIFT = 2;
  current.S.data().shiftBreak = {4, 9};
  current.S.data().shiftFactor = {1.25f, 0.8f};
  current.S.layer.resolutionValid = core::kTrue;
  current.S.layer.equivalenceValid = core::kTrue;
  for (std::size_t i = 0; i < current.S.RESOLV.size(); ++i)
    current.S.RESOLV[i] = 1.0f / static_cast<float>(i + 1);
  current.SM.model.NLAYER = 6;
  current.SM.model.NPK = 1;
  if (!current.SM.allocateModel()) return 1;
  for (float& value : current.SM.M.PAR) value = 20.0f;
  current.SM.layer.equivalenceValid = core::kTrue;
  return save(current, folder / "everything.ZVR") ? 0 : 1;
}
