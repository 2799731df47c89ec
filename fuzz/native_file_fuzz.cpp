// Fuzz target of the native-file reader. Every input is read into the default
// sounding; whatever the record then holds has counts that match its arrays
// and is written, and that file must read back completely, without a
// message, and write again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>

#include "core/record/current_sounding.h"
#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "fuzz/fuzz_checks.h"

namespace {

std::string writeToString(zeva::core::CurrentSounding& current) {
  zeva::files::StringSink sink;
  zeva::fuzz::require(zeva::files::writeNativeFile(sink, current).ok, "record written");
  return sink.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  core::CurrentSounding current;
  core::resetToDefault(current);
  files::MemorySource source(std::as_bytes(std::span(data, size)));
  std::ignore = files::readNativeFile(source, current, "fuzz.ZVR");
  fuzz::requireConsistent(current.S);

  const std::string written = writeToString(current);
  core::CurrentSounding again;
  core::resetToDefault(again);
  files::MemorySource rereading(written);
  const files::ReadResult reread = files::readNativeFile(rereading, again, "again.ZVR");
  fuzz::require(reread.ok, "written record reads back");
  fuzz::require(reread.messages.empty(), "written record reads back without a message");
  fuzz::require(writeToString(again) == written, "record writes again to the same bytes");
  return 0;
}
