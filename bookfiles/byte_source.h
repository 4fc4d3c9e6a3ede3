#pragma once
// The bytes of a book file as a reader takes them: from the start, through a window that
// holds at least what the reader asks for at once. An open file is read in pieces of a
// megabyte (more only while one line or text needs it), so a read never holds the whole
// file beside the book it builds; bytes already in memory are handed out as they are.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace qv {

class FileReader;

// Thrown by a ByteSource when the file below it cannot be read; `error` is the errno value.
struct SourceReadError {
  int error;
};

class ByteSource {
 public:
  // Bytes in memory, which must outlive the source.
  explicit ByteSource(std::string_view bytes);
  // An open file, read up to the size it had when it was opened, in pieces of `piece`
  // bytes.
  explicit ByteSource(FileReader& file, std::size_t piece = std::size_t(1) << 20);
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // The number of bytes of the source, and of those handed out so far.
  uint64_t Size() const { return size_; }
  uint64_t Position() const { return base_ + static_cast<uint64_t>(pos_ - begin_); }

  // The bytes at hand from the position on (maybe fewer than are left).
  std::string_view Window() const { return {pos_, static_cast<std::size_t>(end_ - pos_)}; }
  // Brings at least `n` bytes from the position on to hand; false when the source ends
  // first (Window then holds the rest). The window moves: earlier views are no longer valid.
  bool Ensure(std::size_t n) { return static_cast<std::size_t>(end_ - pos_) >= n || Load(n); }
  // Brings at least one more byte to hand; false at the end.
  bool More() { return Load(static_cast<std::size_t>(end_ - pos_) + 1); }
  bool AtEnd() { return pos_ == end_ && !Load(1); }
  // Hands out `n` bytes of the window.
  void Skip(std::size_t n) { pos_ += n; }

  // About the number of lines of the whole source (a line ends with LF, CR LF or a lone CR),
  // so that a reader can size its lists once. Called before anything is read: a file is
  // read through once and then again from its start.
  uint64_t CountLines();

  // Hands out bytes up to `offset` (from the start); false when the source ends first.
  bool SkipTo(uint64_t offset);

  // Keeps a CRC-32 of the first `covered` bytes as they come in. Called before anything is
  // read.
  void KeepChecksum(uint64_t covered);
  // That checksum once every covered byte came in; nothing before.
  std::optional<uint32_t> Checksum() const;

 private:
  bool Load(std::size_t n);

  FileReader* file_ = nullptr;
  std::size_t piece_ = 0;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  const char* begin_ = nullptr;  // the first byte in memory, at offset base_
  const char* pos_ = nullptr;
  const char* end_ = nullptr;
  uint64_t base_ = 0;
  uint64_t size_ = 0;
  uint64_t loaded_ = 0;  // bytes read from the file so far
  uint64_t covered_ = 0;
  uint64_t summed_ = 0;  // bytes of the checksum taken so far
  uint32_t crc_ = 0;
  bool checksum_ = false;
};

// CRC-32 (the polynomial 0xEDB88320 of zip and PNG) of the bytes, continuing from `crc`
// (0 to start).
uint32_t Crc32(std::string_view bytes, uint32_t crc = 0);

}  // namespace qv
