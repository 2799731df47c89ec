// libFuzzer target of the native-file reader. Every input is read into the
// default sounding; whatever the record then holds is written, and that file
// must read back completely, without a message, and write again to the same
// bytes. A crash, a sanitizer report or a broken round trip is a finding.
//
// Run with a seed corpus made by native_file_fuzz_seeds:
//   native_file_fuzz_seeds corpus && native_file_fuzz -max_total_time=60 corpus

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/current_sounding.h"
#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "ui/scripted_toolkit.h"

namespace {

std::string writeToString(zeva::core::CurrentSounding& current) {
  zeva::ui::ScriptedToolkit toolkit;
  zeva::files::StringSink sink;
  if (!zeva::files::writeNativeFile(sink, current, toolkit).complete) std::abort();
  return sink.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  core::CurrentSounding current;
  core::resetToDefault(current);
  ui::ScriptedToolkit toolkit;
  files::MemorySource source(std::as_bytes(std::span(data, size)));
  files::readNativeFile(source, current, "fuzz.ZVR", toolkit);

  const std::string written = writeToString(current);
  core::CurrentSounding again;
  core::resetToDefault(again);
  ui::ScriptedToolkit quiet;
  files::MemorySource rereading(written);
  if (!files::readNativeFile(rereading, again, "again.ZVR", quiet).complete) std::abort();
  if (!quiet.messages.empty()) std::abort();
  if (writeToString(again) != written) std::abort();
  return 0;
}
