// Fuzz target of the native-file reader. Every input is read into the default
// sounding; whatever the record then holds has counts that match its arrays
// and is written, and that file must read back completely, without a
// message, and write again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/record/current_sounding.h"
#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "fuzz/fuzz_checks.h"
#include "tests/support/scripted_toolkit.h"

namespace {

std::string writeToString(zeva::core::CurrentSounding& current) {
  zeva::test::ScriptedToolkit toolkit;
  zeva::files::StringSink sink;
  zeva::fuzz::require(zeva::files::writeNativeFile(sink, current, toolkit).complete,
                      "record written");
  return sink.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  core::CurrentSounding current;
  core::resetToDefault(current);
  zeva::test::ScriptedToolkit toolkit;
  files::MemorySource source(std::as_bytes(std::span(data, size)));
  files::readNativeFile(source, current, "fuzz.ZVR", toolkit);
  fuzz::requireConsistent(current.S);

  const std::string written = writeToString(current);
  core::CurrentSounding again;
  core::resetToDefault(again);
  zeva::test::ScriptedToolkit quiet;
  files::MemorySource rereading(written);
  fuzz::require(files::readNativeFile(rereading, again, "again.ZVR", quiet).complete,
                "written record reads back");
  fuzz::require(quiet.messages.empty(), "written record reads back without a message");
  fuzz::require(writeToString(again) == written, "record writes again to the same bytes");
  return 0;
}
