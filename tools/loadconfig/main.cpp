// loadconfig IMAGE MAP SYMBOL
// Points IMAGE's load-configuration directory at SYMBOL, the structure that the link placed where MAP, the
// link's map, says (see LoadConfig.h). Rewrites IMAGE only when the entry changes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include "LoadConfig.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: loadconfig IMAGE MAP SYMBOL\n";
    return 2;
  }
  const std::string imagePath = argv[1];
  try {
    std::ifstream map(argv[2]);
    if (!map) throw loadconfig::Failure(std::string("cannot read ") + argv[2]);
    const std::uint64_t address = loadconfig::SymbolAddress(map, argv[3]);
    std::ifstream in(imagePath, std::ios::binary);
    if (!in) throw loadconfig::Failure("cannot read " + imagePath);
    std::vector<unsigned char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const std::vector<unsigned char> before = image;
    loadconfig::PointLoadConfiguration(image, address);
    if (image == before) return 0;
    const std::string temporary = imagePath + ".tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
      if (!out.flush()) throw loadconfig::Failure("cannot write " + temporary);
    }
    std::filesystem::permissions(temporary, std::filesystem::status(imagePath).permissions());
    if (std::rename(temporary.c_str(), imagePath.c_str()) != 0) throw loadconfig::Failure("cannot write " + imagePath);
  } catch (const std::exception& e) {
    std::cerr << "loadconfig: " << imagePath << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
