#include "files/byte_stream.h"

#include <algorithm>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace zeva::files {

std::size_t MemorySource::read(std::span<std::byte> bytes) {
  const std::size_t available = bytes_.size() - position_;
  const std::size_t count = std::min(bytes.size(), available);
  if (count > 0) std::memcpy(bytes.data(), bytes_.data() + position_, count);
  position_ += count;
  return bytes.size() - count;
}

bool MemorySource::skip(std::int64_t count) {
  if (count < 0 || count > remaining()) return false;
  position_ += static_cast<std::size_t>(count);
  return true;
}

std::size_t StringSink::write(std::span<const std::byte> bytes) {
  bytes_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return 0;
}

FileSource::FileSource(std::FILE* file) : file_(file) {
  const long start = std::ftell(file_);
  if (start < 0 || std::fseek(file_, 0, SEEK_END) != 0) return;
  const long end = std::ftell(file_);
  std::fseek(file_, start, SEEK_SET);
  position_ = start;
  size_ = std::max<long>(end, start);
}

std::size_t FileSource::read(std::span<std::byte> bytes) {
  const std::size_t count = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file_);
  position_ += static_cast<std::int64_t>(count);
  return bytes.size() - count;
}

bool FileSource::skip(std::int64_t count) {
  if (count < 0 || count > remaining()) return false;
  if (std::fseek(file_, static_cast<long>(position_ + count), SEEK_SET) != 0) return false;
  position_ += count;
  return true;
}

FileSink::FileSink(FileHandle file) : file_(std::move(file)) {
  if (file_) std::setvbuf(file_.get(), nullptr, _IONBF, 0);
}

std::size_t FileSink::write(std::span<const std::byte> bytes) {
  if (!file_) return bytes.size();
  const std::size_t count =
      bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file_.get());
  position_ += static_cast<std::int64_t>(count);
  return bytes.size() - count;
}

bool FileSink::finish() {
  if (!file_) return false;
  bool ok = std::fflush(file_.get()) == 0;
#if defined(__unix__) || defined(__APPLE__)
  ok = ok && ::fsync(::fileno(file_.get())) == 0;
#endif
  ok = std::fclose(file_.release()) == 0 && ok;
  return ok;
}

}  // namespace zeva::files
