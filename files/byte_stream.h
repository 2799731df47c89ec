#pragma once
// Byte streams the native-file reader and writer work on. A source knows its
// size, so a reader can refuse counts the rest of the file could never fill; a
// sink reports how many bytes it could not write. Memory streams let tests
// feed strings and truncated buffers; file streams wrap C stdio.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace zeva::files {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads bytes.size() bytes; returns the number not transferred (0: success).
  virtual std::size_t read(std::span<std::byte> bytes) = 0;
  // Moves count bytes forward; false (and no move) when that passes the end.
  virtual bool skip(std::int64_t count) = 0;
  virtual std::int64_t position() const = 0;
  virtual std::int64_t size() const = 0;
  std::int64_t remaining() const { return size() - position(); }
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes the bytes; returns the number not transferred (0: success).
  virtual std::size_t write(std::span<const std::byte> bytes) = 0;
  virtual std::int64_t position() const = 0;
};

// Reads from a buffer the caller keeps alive.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::byte> bytes) : bytes_(bytes) {}
  explicit MemorySource(std::string_view text) : bytes_(std::as_bytes(std::span(text))) {}

  std::size_t read(std::span<std::byte> bytes) override;
  bool skip(std::int64_t count) override;
  std::int64_t position() const override { return static_cast<std::int64_t>(position_); }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::span<const std::byte> bytes_;
  std::size_t position_ = 0;
};

// Collects the written bytes in a string.
class StringSink : public ByteSink {
 public:
  std::size_t write(std::span<const std::byte> bytes) override;
  std::int64_t position() const override { return static_cast<std::int64_t>(bytes_.size()); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Reads an open file from its current position; the size is taken once.
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file);

  std::size_t read(std::span<std::byte> bytes) override;
  bool skip(std::int64_t count) override;
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return size_; }

 private:
  std::FILE* file_;
  std::int64_t position_ = 0;
  std::int64_t size_ = 0;
};

// Writes a file it owns without stdio buffering, so a short write is seen by
// the write that caused it. finish() forces the bytes to the disk and closes.
class FileSink : public ByteSink {
 public:
  explicit FileSink(FileHandle file);

  std::size_t write(std::span<const std::byte> bytes) override;
  std::int64_t position() const override { return position_; }
  // Flushes to the device and closes; false when any of it fails.
  bool finish();

 private:
  FileHandle file_;
  std::int64_t position_ = 0;
};

}  // namespace zeva::files
