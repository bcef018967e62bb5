#pragma once
#include <cstddef>
#include <random>
#include <vector>

// Bytes that compress somewhat, like an executable: a counting run, then noise, every 300 bytes; each size
// has its own noise.
inline std::vector<unsigned char> SampleProgram(std::size_t size) {
  std::vector<unsigned char> program(size);
  std::mt19937 random(static_cast<unsigned>(size));
  for (std::size_t i = 0; i < size; ++i)
    program[i] = (i / 300) % 2 ? static_cast<unsigned char>(random()) : static_cast<unsigned char>(i);
  return program;
}
