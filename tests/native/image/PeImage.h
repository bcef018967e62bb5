#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a test needs to know of a Windows executable (PE32 or PE32+), read from its headers.
struct PeImage {
  struct Section {
    std::string name;
    std::uint32_t characteristics = 0;
  };
  std::uint16_t machine = 0;
  std::uint16_t subsystem = 0;
  std::uint16_t dllCharacteristics = 0;
  std::uint32_t timeDateStamp = 0;
  std::uint32_t relocationsSize = 0;  // the base relocation directory's
  bool wide = false;                  // PE32+, a 64-bit image
  std::uint32_t checksum = 0;         // as the header says
  std::size_t checksumOffset = 0;     // where the header keeps it
  // The load-configuration directory, the size its structure gives itself and the structure's
  // DependentLoadFlags (zero when the structure is too short to hold them).
  std::uint32_t loadConfigRva = 0, loadConfigDirectorySize = 0, loadConfigSize = 0;
  std::uint16_t dependentLoadFlags = 0;
  std::vector<Section> sections;
  std::vector<std::string> importedDlls;
  std::vector<std::uint8_t> bytes;

  static bool Read(const std::string& path, PeImage& image, std::string& problem);
  bool Contains(const std::string& text) const;         // as ANSI bytes
  bool ContainsUtf16(const std::string& text) const;    // as UTF-16LE, how resources store strings
};
