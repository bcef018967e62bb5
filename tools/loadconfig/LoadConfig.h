#pragma once
#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

// GNU ld 2.40 keeps a program's load-configuration structure but writes no directory entry for it, so the
// loader never reads it. These fill the entry in after the link.
namespace loadconfig {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The address of symbol as a GNU ld map lists it (names as the map prints them, which on 32-bit x86 is
// without the leading underscore of C symbols). Throws unless the map defines it exactly once.
std::uint64_t SymbolAddress(std::istream& map, const std::string& symbol);

// Points the load-configuration directory of the image (PE32 or PE32+) at the structure at virtual address
// address, taking the structure's own first field as the directory's size, and makes the header's checksum
// match again when it carries one. Throws when the image is malformed, the structure lies outside the
// image's initialised data, or the directory already points elsewhere. Running it twice changes nothing.
void PointLoadConfiguration(std::vector<unsigned char>& image, std::uint64_t address);

// The image checksum as Windows computes it: the file's 16-bit words summed with end-around carry, with the
// header's checksum field counted as zero, plus the file's length.
std::uint32_t ImageChecksum(const std::vector<unsigned char>& image, std::size_t checksumOffset);

}  // namespace loadconfig
