#include <gtest/gtest.h>
#include <cstring>
#include <sstream>
#include "LoadConfig.h"

namespace {

using loadconfig::Failure;

constexpr std::uint32_t kSectionRva = 0x1000, kSectionRaw = 0x200, kSectionSize = 0x200;
constexpr std::uint32_t kStructureRva = 0x1010, kStructureSize = 64;

template <class T>
void Put(std::vector<unsigned char>& bytes, std::size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof(T));
}
template <class T>
T Get(const std::vector<unsigned char>& bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

// A minimal image with one initialised section holding a load configuration structure of kStructureSize
// bytes at kStructureRva, its directory entry still empty.
struct TinyImage {
  explicit TinyImage(bool wide) : wide(wide), bytes(kSectionRaw + kSectionSize) {
    Put<std::uint16_t>(bytes, 0, 0x5A4D);
    Put<std::uint32_t>(bytes, 0x3C, kPe);
    Put<std::uint32_t>(bytes, kPe, 0x00004550);
    Put<std::uint16_t>(bytes, kPe + 6, 1);                             // one section
    Put<std::uint16_t>(bytes, kPe + 20, wide ? 240 : 224);             // optional header size
    Put<std::uint16_t>(bytes, Optional(), wide ? 0x20B : 0x10B);
    if (wide)
      Put<std::uint64_t>(bytes, Optional() + 24, ImageBase());
    else
      Put<std::uint32_t>(bytes, Optional() + 28, static_cast<std::uint32_t>(ImageBase()));
    Put<std::uint32_t>(bytes, Optional() + (wide ? 108 : 92), 16);     // data directory entries
    const std::size_t section = Optional() + (wide ? 240 : 224);
    std::memcpy(bytes.data() + section, ".rdata", 6);
    Put<std::uint32_t>(bytes, section + 8, kSectionSize);
    Put<std::uint32_t>(bytes, section + 12, kSectionRva);
    Put<std::uint32_t>(bytes, section + 16, kSectionSize);
    Put<std::uint32_t>(bytes, section + 20, kSectionRaw);
    Put<std::uint32_t>(bytes, StructureOffset(), kStructureSize);
  }
  static constexpr std::size_t kPe = 0x40;
  std::size_t Optional() const { return kPe + 24; }
  std::size_t Checksum() const { return Optional() + 64; }
  std::size_t Entry() const { return Optional() + (wide ? 112 : 96) + 8 * 10; }
  std::size_t StructureOffset() const { return kSectionRaw + (kStructureRva - kSectionRva); }
  std::uint64_t ImageBase() const { return wide ? 0x140000000ull : 0x400000u; }
  std::uint64_t Address(std::uint32_t rva) const { return ImageBase() + rva; }
  std::uint32_t EntryRva() const { return Get<std::uint32_t>(bytes, Entry()); }
  std::uint32_t EntrySize() const { return Get<std::uint32_t>(bytes, Entry() + 4); }

  bool wide;
  std::vector<unsigned char> bytes;
};

std::uint64_t AddressIn(const std::string& map, const std::string& symbol) {
  std::istringstream in(map);
  return loadconfig::SymbolAddress(in, symbol);
}

}  // namespace

TEST(LoadConfigMap, FindsTheSymbolsLineAndNothingLikeIt) {
  const std::string map =
      " .rdata         0x00434060    0x453c0 /tmp/cc.ltrans0.ltrans.o\n"
      "                0x00478dc0                _load_config_used_too\n"
      "                0x00478dc8                _load_config_used\n"
      "                0x00400000                        _load_config_used = 0x400000\n"
      "                              /tmp/cc.ltrans0.ltrans.o (_load_config_used)\n"
      "_load_config_used 0x00000001\n";
  EXPECT_EQ(AddressIn(map, "_load_config_used"), 0x00478dc8u);
  EXPECT_EQ(AddressIn("                0x0000000140012340                x\r\n", "x"), 0x140012340u) << "CRLF map";
  EXPECT_THROW(AddressIn(map, "load_config_used"), Failure);
  EXPECT_THROW(AddressIn(map + "                0x00478dd0                _load_config_used\n", "_load_config_used"),
               Failure)
      << "two definitions leave no way to tell which one the loader should read";
}

TEST(LoadConfigImage, PointsTheEntryAtTheStructureInBothImageKinds) {
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "PE32+" : "PE32");
    TinyImage image(wide);
    loadconfig::PointLoadConfiguration(image.bytes, image.Address(kStructureRva));
    EXPECT_EQ(image.EntryRva(), kStructureRva);
    EXPECT_EQ(image.EntrySize(), kStructureSize);
    EXPECT_EQ(Get<std::uint32_t>(image.bytes, image.Checksum()), 0u) << "an image without a checksum keeps none";
    const auto once = image.bytes;
    loadconfig::PointLoadConfiguration(image.bytes, image.Address(kStructureRva));
    EXPECT_EQ(image.bytes, once) << "a second run changes nothing";
  }
}

TEST(LoadConfigImage, KeepsAChecksumSound) {
  TinyImage image(false);
  image.bytes[0x300] = 0x5A;  // something for the sum to see
  Put<std::uint32_t>(image.bytes, image.Checksum(), loadconfig::ImageChecksum(image.bytes, image.Checksum()));
  const std::uint32_t before = Get<std::uint32_t>(image.bytes, image.Checksum());
  loadconfig::PointLoadConfiguration(image.bytes, image.Address(kStructureRva));
  const std::uint32_t after = Get<std::uint32_t>(image.bytes, image.Checksum());
  EXPECT_NE(after, before);
  EXPECT_EQ(after, loadconfig::ImageChecksum(image.bytes, image.Checksum()));
}

TEST(LoadConfigImage, RefusesWhatTheLoaderCouldNotRead) {
  struct Case {
    const char* what;
    void (*spoil)(TinyImage&);
    std::uint32_t rva;
  };
  const Case cases[] = {
      {"a structure outside every section", [](TinyImage&) {}, 0x3000},
      {"a structure running past its section's data",
       [](TinyImage& image) { Put<std::uint32_t>(image.bytes, image.StructureOffset(), kSectionSize); }, kStructureRva},
      {"a structure without its size", [](TinyImage& image) { Put<std::uint32_t>(image.bytes, image.StructureOffset(), 0); },
       kStructureRva},
      {"an entry that points elsewhere already",
       [](TinyImage& image) { Put<std::uint32_t>(image.bytes, image.Entry(), 0x1100); }, kStructureRva},
      {"a data directory too short for the entry",
       [](TinyImage& image) { Put<std::uint32_t>(image.bytes, image.Optional() + 92, 10); }, kStructureRva},
      {"no PE signature", [](TinyImage& image) { image.bytes[TinyImage::kPe] = 'X'; }, kStructureRva},
      {"a file cut inside its headers", [](TinyImage& image) { image.bytes.resize(0x80); }, kStructureRva},
  };
  for (const Case& c : cases) {
    TinyImage image(false);
    c.spoil(image);
    const auto before = image.bytes;
    EXPECT_THROW(loadconfig::PointLoadConfiguration(image.bytes, image.Address(c.rva)), Failure) << c.what;
    EXPECT_EQ(image.bytes, before) << c.what << " changed the image";
  }
  TinyImage image(false);
  EXPECT_THROW(loadconfig::PointLoadConfiguration(image.bytes, 0x1000), Failure) << "an address below the image";
}
