// The transfer benchmark's floor: the medium's files expanded (the compressed ones) or copied
// in one native process with the tests' SZDD decoder. Prints "floor_ms N".
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/SzddExpander.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc != 3) {
    std::fprintf(stderr, "usage: expand_floor MEDIUM TARGET\n");
    return 2;
  }
  setup::SandboxFiles memory;
  setup::SzddExpander expander(memory);
  const auto start = std::chrono::steady_clock::now();
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argv[1])) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), argv[1]);
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    memory.PutFile("A:\\source", bytes);
    const bool compressed = relative.string().ends_with('_');
    if (compressed &&
        expander.Expand("A:\\source", "C:\\target") != setup::Expander::Result::Done) {
      std::fprintf(stderr, "cannot expand %s\n", relative.c_str());
      return 1;
    }
    const fs::path target = fs::path(argv[2]) / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary)
        << *memory.FileBytes(compressed ? "C:\\target" : "A:\\source");
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::printf("floor_ms %lld\n",
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
  return 0;
}
