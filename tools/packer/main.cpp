// packer PROGRAM OUTPUT.cpp MODULE_NAME
// Writes the payload module MODULE_NAME that carries PROGRAM (see PayloadPacker.h).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include "PayloadPacker.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: packer PROGRAM OUTPUT.cpp MODULE_NAME\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "packer: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<unsigned char> program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    std::string source = packer::ModuleSource(packer::Pack(program), argv[3]);
    std::string temporary = std::string(argv[2]) + ".tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out << source;
      if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + temporary);
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "packer: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
