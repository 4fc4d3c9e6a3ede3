#include "bookfiles/byte_source.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "platform/file_io.h"

namespace qv {
uint32_t Crc32(std::string_view bytes, uint32_t crc) {
  return static_cast<uint32_t>(
      crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

ByteSource::ByteSource(std::string_view bytes)
    : begin_(bytes.data()),
      pos_(bytes.data()),
      end_(bytes.data() + bytes.size()),
      size_(bytes.size()),
      loaded_(bytes.size()) {}

ByteSource::ByteSource(FileReader& file, std::size_t piece)
    : file_(&file), piece_(std::max<std::size_t>(piece, 1)), size_(file.Size()) {}

void ByteSource::KeepChecksum(uint64_t covered) {
  checksum_ = true;
  covered_ = std::min(covered, size_);
  crc_ = 0;
  summed_ = 0;
  if (file_ == nullptr) {
    crc_ = Crc32(std::string_view(begin_, static_cast<std::size_t>(covered_)));
    summed_ = covered_;
  }
}

std::optional<uint32_t> ByteSource::Checksum() const {
  if (!checksum_ || summed_ != covered_) return std::nullopt;
  return crc_;
}

uint64_t ByteSource::CountLines() {
  // LF ends most lines and CR LF many; a file of lone CRs has no LF at all. The larger count
  // is the number of line ends, or near it in a file that mixes them.
  uint64_t lf = 0, cr = 0, bytes = 0;
  auto count = [&](std::string_view text) {
    lf += static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n'));
    cr += static_cast<uint64_t>(std::count(text.begin(), text.end(), '\r'));
    bytes += text.size();
  };
  if (file_ == nullptr) {
    count(Window());
  } else {
    std::unique_ptr<char[]> piece(new char[piece_]);
    for (;;) {
      const int64_t got = file_->Read(piece.get(), piece_);
      if (got < 0) throw SourceReadError{file_->Error()};
      if (got == 0) break;
      count(std::string_view(piece.get(), static_cast<std::size_t>(got)));
    }
    if (const int err = file_->Rewind()) throw SourceReadError{err};
  }
  return bytes == 0 ? 0 : std::max(lf, cr) + 1;
}

bool ByteSource::SkipTo(uint64_t offset) {
  while (Position() < offset) {
    const uint64_t want = offset - Position();
    const std::size_t at = Window().size();
    if (at >= want) {
      Skip(static_cast<std::size_t>(want));
      return true;
    }
    Skip(at);
    if (!Load(1)) return false;
  }
  return true;
}

bool ByteSource::Load(std::size_t n) {
  std::size_t kept = static_cast<std::size_t>(end_ - pos_);
  if (file_ == nullptr || loaded_ >= size_) return kept >= n;
  // The bytes not yet handed out move to the front of the buffer, which grows when one
  // request needs more than it holds.
  const std::size_t wanted = std::max(n, piece_);
  if (capacity_ < wanted) {
    const std::size_t grown = std::max(wanted, capacity_ * 2);
    std::unique_ptr<char[]> bigger(new char[grown]);
    if (kept > 0) std::memcpy(bigger.get(), pos_, kept);
    buffer_ = std::move(bigger);
    capacity_ = grown;
  } else if (kept > 0 && pos_ != buffer_.get()) {
    std::memmove(buffer_.get(), pos_, kept);
  }
  base_ = Position();
  begin_ = pos_ = buffer_.get();
  end_ = begin_ + kept;
  while (kept < n && loaded_ < size_) {
    const std::size_t room = capacity_ - kept;
    const auto piece = static_cast<std::size_t>(std::min<uint64_t>(room, size_ - loaded_));
    char* into = buffer_.get() + kept;
    const int64_t got = file_->Read(into, piece);
    if (got < 0) throw SourceReadError{file_->Error()};
    if (got == 0) {
      size_ = loaded_;  // the file shrank while it was read
      break;
    }
    const auto count = static_cast<std::size_t>(got);
    if (checksum_ && summed_ < covered_) {
      const auto take = static_cast<std::size_t>(std::min<uint64_t>(count, covered_ - summed_));
      crc_ = Crc32(std::string_view(into, take), crc_);
      summed_ += take;
    }
    loaded_ += count;
    kept += count;
    end_ = begin_ + kept;
  }
  return kept >= n;
}

}  // namespace qv
