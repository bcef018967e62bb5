#include "LoadConfig.h"
#include <cstring>
#include <sstream>

namespace loadconfig {

namespace {

constexpr std::size_t kLoadConfigEntry = 10;  // IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG
constexpr std::uint16_t kPe32 = 0x10B, kPe32Plus = 0x20B;

class ImageBytes {
 public:
  explicit ImageBytes(std::vector<unsigned char>& bytes) : bytes_(bytes) {}

  template <class T>
  T Read(std::size_t offset) const {
    Check(offset, sizeof(T));
    T value;
    std::memcpy(&value, bytes_.data() + offset, sizeof(T));
    return value;
  }
  template <class T>
  void Write(std::size_t offset, T value) {
    Check(offset, sizeof(T));
    std::memcpy(bytes_.data() + offset, &value, sizeof(T));
  }

 private:
  void Check(std::size_t offset, std::size_t size) const {
    if (offset > bytes_.size() || bytes_.size() - offset < size) throw Failure("the image is cut short");
  }
  std::vector<unsigned char>& bytes_;
};

struct Headers {
  std::size_t optional = 0;       // file offset of the optional header
  std::size_t sections = 0;       // file offset of the section table
  std::uint16_t sectionCount = 0;
  std::uint64_t imageBase = 0;
  std::size_t checksum = 0;       // file offset of the checksum field
  std::size_t directories = 0;    // file offset of the data directory
  std::uint32_t directoryCount = 0;
};

Headers ReadHeaders(const ImageBytes& image) {
  if (image.Read<std::uint16_t>(0) != 0x5A4D) throw Failure("not an executable image (no MZ header)");
  const std::size_t pe = image.Read<std::uint32_t>(0x3C);
  if (image.Read<std::uint32_t>(pe) != 0x00004550) throw Failure("not a PE image (no PE signature)");
  Headers headers;
  headers.sectionCount = image.Read<std::uint16_t>(pe + 6);
  const std::uint16_t optionalSize = image.Read<std::uint16_t>(pe + 20);
  headers.optional = pe + 24;
  headers.sections = headers.optional + optionalSize;
  headers.checksum = headers.optional + 64;
  const std::uint16_t magic = image.Read<std::uint16_t>(headers.optional);
  std::size_t directoriesAt = 0;
  if (magic == kPe32) {
    headers.imageBase = image.Read<std::uint32_t>(headers.optional + 28);
    directoriesAt = 92;
  } else if (magic == kPe32Plus) {
    headers.imageBase = image.Read<std::uint64_t>(headers.optional + 24);
    directoriesAt = 108;
  } else {
    throw Failure("neither a PE32 nor a PE32+ image");
  }
  headers.directoryCount = image.Read<std::uint32_t>(headers.optional + directoriesAt);
  headers.directories = headers.optional + directoriesAt + 4;
  if (headers.directories + std::size_t{8} * headers.directoryCount > headers.sections)
    throw Failure("the data directory runs past the optional header");
  return headers;
}

// The file offset of the structure of size bytes at rva, which must lie in one section's initialised data.
std::size_t FileOffsetOf(const ImageBytes& image, const Headers& headers, std::uint32_t rva, std::uint32_t size) {
  for (std::uint16_t i = 0; i < headers.sectionCount; ++i) {
    const std::size_t section = headers.sections + std::size_t{40} * i;
    const std::uint32_t virtualSize = image.Read<std::uint32_t>(section + 8);
    const std::uint32_t virtualAddress = image.Read<std::uint32_t>(section + 12);
    const std::uint32_t rawSize = image.Read<std::uint32_t>(section + 16);
    const std::uint32_t rawPointer = image.Read<std::uint32_t>(section + 20);
    if (rva < virtualAddress || rva - virtualAddress >= virtualSize) continue;
    const std::uint64_t end = std::uint64_t{rva - virtualAddress} + size;
    if (end > virtualSize || end > rawSize) throw Failure("the load configuration runs past its section's data");
    return rawPointer + (rva - virtualAddress);
  }
  throw Failure("the load configuration lies in no section");
}

}  // namespace

std::uint64_t SymbolAddress(std::istream& map, const std::string& symbol) {
  std::uint64_t found = 0;
  int count = 0;
  std::string line;
  while (std::getline(map, line)) {
    // A symbol's line: blanks, its address in hexadecimal, blanks, its name, nothing after.
    std::istringstream words(line);
    std::string address, name, extra;
    if (line.empty() || (line[0] != ' ' && line[0] != '\t')) continue;
    if (!(words >> address >> name) || (words >> extra) || name != symbol) continue;
    if (address.size() < 3 || address.compare(0, 2, "0x") != 0) continue;
    std::size_t used = 0;
    try {
      found = std::stoull(address.substr(2), &used, 16);
    } catch (const std::exception&) {
      continue;
    }
    if (used != address.size() - 2) continue;
    ++count;
  }
  if (count == 0) throw Failure("the map defines no " + symbol);
  if (count > 1) throw Failure("the map defines " + symbol + " more than once");
  return found;
}

void PointLoadConfiguration(std::vector<unsigned char>& bytes, std::uint64_t address) {
  ImageBytes image(bytes);
  const Headers headers = ReadHeaders(image);
  if (headers.directoryCount <= kLoadConfigEntry) throw Failure("the image has no room for a load configuration entry");
  if (address < headers.imageBase || address - headers.imageBase > 0xFFFFFFFFu)
    throw Failure("the load configuration lies outside the image");
  const auto rva = static_cast<std::uint32_t>(address - headers.imageBase);
  const std::uint32_t size = image.Read<std::uint32_t>(FileOffsetOf(image, headers, rva, 4));
  if (size < 8) throw Failure("the load configuration's size field is not set");
  FileOffsetOf(image, headers, rva, size);

  const std::size_t entry = headers.directories + 8 * kLoadConfigEntry;
  const std::uint32_t oldRva = image.Read<std::uint32_t>(entry), oldSize = image.Read<std::uint32_t>(entry + 4);
  if (oldRva == rva && oldSize == size) return;
  if (oldRva != 0 || oldSize != 0) throw Failure("the image already has another load configuration");
  image.Write<std::uint32_t>(entry, rva);
  image.Write<std::uint32_t>(entry + 4, size);
  if (image.Read<std::uint32_t>(headers.checksum) != 0)
    image.Write<std::uint32_t>(headers.checksum, ImageChecksum(bytes, headers.checksum));
}

std::uint32_t ImageChecksum(const std::vector<unsigned char>& image, std::size_t checksumOffset) {
  auto byteAt = [&](std::size_t i) -> std::uint32_t {
    if (i >= image.size() || (i >= checksumOffset && i < checksumOffset + 4)) return 0;
    return image[i];
  };
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < image.size(); i += 2) {
    sum += byteAt(i) | (byteAt(i + 1) << 8);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum + static_cast<std::uint32_t>(image.size());
}

}  // namespace loadconfig
