#include "core/program/sounding_record.h"

#include <utility>

#include "core/program/shown_messages.h"
#include "files/byte_stream.h"
#include "files/native_file_reader.h"
#include "files/native_file_writer.h"

namespace zeva::core {

std::string recordBytes(CurrentSounding& record, ui::Toolkit& toolkit) {
  const Logical saved = record.S.layer.saved;
  record.S.layer.saved = kFalse;
  files::StringSink sink;
  shown(toolkit, files::writeNativeFile(sink, record));  // a string takes every byte
  record.S.layer.saved = saved;
  return sink.bytes();
}

bool restoreRecord(std::string_view bytes, CurrentSounding& record, ui::Toolkit& toolkit) {
  CurrentSounding fresh;
  files::MemorySource source(std::as_bytes(std::span(bytes)));
  if (!shown(toolkit, files::readNativeFile(source, fresh, "record"))) return false;
  fresh.S.layer.saved = kFalse;
  moveRecord(fresh, record);
  return true;
}

void moveRecord(CurrentSounding& from, CurrentSounding& to) {
  to.S = std::move(from.S);
  to.SM = std::move(from.SM);
  to.dataFrames = from.dataFrames;
  to.modelFrames = from.modelFrames;
  to.settings = from.settings;
  to.modelOnData = from.modelOnData;
}

}  // namespace zeva::core
