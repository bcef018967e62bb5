#include "PeImage.h"
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

template <class T>
bool ReadAt(const std::vector<std::uint8_t>& bytes, size_t offset, T& value) {
  if (offset + sizeof(T) > bytes.size()) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

}  // namespace

bool PeImage::Read(const std::string& path, PeImage& image, std::string& problem) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return problem = "cannot open " + path, false;
  image.bytes.assign(std::istreambuf_iterator<char>(in), {});
  const auto& b = image.bytes;
  std::uint32_t peOffset = 0, signature = 0;
  if (!ReadAt(b, 0x3C, peOffset) || !ReadAt(b, peOffset, signature) || signature != 0x00004550)
    return problem = "no PE signature", false;
  size_t coff = peOffset + 4;
  std::uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
  ReadAt(b, coff, image.machine);
  ReadAt(b, coff + 2, sectionCount);
  ReadAt(b, coff + 4, image.timeDateStamp);
  ReadAt(b, coff + 16, optionalSize);
  size_t optional = coff + 20;
  ReadAt(b, optional, magic);
  if (magic != 0x10B && magic != 0x20B) return problem = "neither a PE32 nor a PE32+ image", false;
  image.wide = magic == 0x20B;
  ReadAt(b, optional + 68, image.subsystem);
  ReadAt(b, optional + 70, image.dllCharacteristics);
  image.checksumOffset = optional + 64;
  ReadAt(b, image.checksumOffset, image.checksum);
  const size_t directories = optional + (image.wide ? 112 : 96);
  ReadAt(b, directories + 5 * 8 + 4, image.relocationsSize);  // data directory 5: base relocations
  std::uint32_t importRva = 0;
  ReadAt(b, directories + 8, importRva);  // data directory 1: imports
  ReadAt(b, directories + 10 * 8, image.loadConfigRva);  // data directory 10: load configuration
  ReadAt(b, directories + 10 * 8 + 4, image.loadConfigDirectorySize);
  size_t sections = optional + optionalSize;
  auto rvaToOffset = [&](std::uint32_t rva) -> size_t {
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
      size_t s = sections + i * 40u;
      std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawPointer = 0;
      ReadAt(b, s + 8, virtualSize);
      ReadAt(b, s + 12, virtualAddress);
      ReadAt(b, s + 16, rawSize);
      ReadAt(b, s + 20, rawPointer);
      if (rva >= virtualAddress && rva < virtualAddress + std::max(virtualSize, rawSize))
        return rawPointer + (rva - virtualAddress);
    }
    return 0;
  };
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    size_t s = sections + i * 40u;
    if (s + 40 > b.size()) return problem = "section table cut short", false;
    Section section;
    section.name.assign(reinterpret_cast<const char*>(b.data() + s), strnlen(reinterpret_cast<const char*>(b.data() + s), 8));
    ReadAt(b, s + 36, section.characteristics);
    image.sections.push_back(section);
  }
  if (size_t config = image.loadConfigRva ? rvaToOffset(image.loadConfigRva) : 0) {
    ReadAt(b, config, image.loadConfigSize);
    const size_t flagsAt = image.wide ? 78 : 54;
    if (image.loadConfigSize >= flagsAt + 2) ReadAt(b, config + flagsAt, image.dependentLoadFlags);
  }
  for (size_t entry = rvaToOffset(importRva); entry; entry += 20) {
    std::uint32_t nameRva = 0, thunk = 0;
    if (!ReadAt(b, entry + 12, nameRva) || !ReadAt(b, entry + 16, thunk)) break;
    if (nameRva == 0 && thunk == 0) break;
    size_t name = rvaToOffset(nameRva);
    if (!name || name >= b.size()) break;
    image.importedDlls.emplace_back(reinterpret_cast<const char*>(b.data() + name),
                                    strnlen(reinterpret_cast<const char*>(b.data() + name), b.size() - name));
  }
  return true;
}

bool PeImage::Contains(const std::string& text) const {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

bool PeImage::ContainsUtf16(const std::string& text) const {
  std::vector<std::uint8_t> wide;
  for (char c : text) wide.insert(wide.end(), {static_cast<std::uint8_t>(c), 0});
  return std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end()) != bytes.end();
}
