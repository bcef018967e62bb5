#include "duplicates/ContentHash.h"
#include <cstring>

namespace duplicates {

namespace {

constexpr std::uint64_t kOdd1 = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kOdd2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kOdd3 = 0x165667B19E3779F9ull;

inline std::uint64_t Rotate(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

inline std::uint64_t Load(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;  // the byte order of the machine: hashes are compared within one run only
}

inline std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) { return Rotate(lane + word * kOdd2, 29) * kOdd1; }

inline std::uint64_t Finish(std::uint64_t x) {
  x ^= x >> 31;
  x *= kOdd3;
  x ^= x >> 29;
  x *= kOdd2;
  return x ^ (x >> 32);
}

}  // namespace

ContentHash::ContentHash() : lanes_{kOdd1 + kOdd2, kOdd2, 0, 0 - kOdd1} {}

void ContentHash::Block(const unsigned char* block) {
  lanes_[0] = Mix(lanes_[0], Load(block));
  lanes_[1] = Mix(lanes_[1], Load(block + 8));
  lanes_[2] = Mix(lanes_[2], Load(block + 16));
  lanes_[3] = Mix(lanes_[3], Load(block + 24));
}

void ContentHash::Add(const void* data, std::size_t size) {
  auto* bytes = static_cast<const unsigned char*>(data);
  total_ += size;
  if (pendingSize_) {
    std::size_t take = sizeof(pending_) - pendingSize_;
    if (take > size) take = size;
    std::memcpy(pending_ + pendingSize_, bytes, take);
    pendingSize_ += take;
    bytes += take;
    size -= take;
    if (pendingSize_ < sizeof(pending_)) return;
    Block(pending_);
    pendingSize_ = 0;
  }
  for (; size >= 32; bytes += 32, size -= 32) Block(bytes);
  std::memcpy(pending_, bytes, size);
  pendingSize_ = size;
}

std::uint64_t ContentHash::Value() const {
  std::uint64_t h = Rotate(lanes_[0], 1) + Rotate(lanes_[1], 7) + Rotate(lanes_[2], 12) + Rotate(lanes_[3], 18);
  for (std::uint64_t lane : lanes_) h = (h ^ Mix(0, lane)) * kOdd1 + kOdd3;
  h += total_;
  std::size_t i = 0;
  for (; i + 8 <= pendingSize_; i += 8) h = Rotate(h ^ Mix(0, Load(pending_ + i)), 27) * kOdd1 + kOdd3;
  for (; i < pendingSize_; ++i) h = Rotate(h ^ (pending_[i] * kOdd3), 11) * kOdd1;
  return Finish(h);
}

}  // namespace duplicates
