#pragma once
#include <cstddef>
#include <cstdint>

namespace duplicates {

// A fast 64-bit hash of a byte stream, fed in pieces of any length. It only sorts files into candidates:
// equal hashes are always confirmed byte by byte, so it needs to be quick and well spread, not secure.
class ContentHash {
 public:
  ContentHash();
  void Add(const void* data, std::size_t size);
  std::uint64_t Value() const;

 private:
  void Block(const unsigned char* block);
  std::uint64_t lanes_[4];
  unsigned char pending_[32];
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace duplicates
