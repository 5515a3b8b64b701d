// The main() of a fuzz target built without libFuzzer: feeds it every file of the folders
// (and every file) named on the command line, in name order, so that the kept corpus runs
// as an ordinary test. A failed property aborts, which fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, std::size_t taille);

int main(int argc, char **argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> fichiers;
  for (int i = 1; i < argc; ++i) {
    const fs::path chemin = argv[i];
    if (fs::is_directory(chemin)) {
      for (const auto &e : fs::directory_iterator(chemin))
        if (e.is_regular_file()) fichiers.push_back(e.path());
    } else {
      fichiers.push_back(chemin);
    }
  }
  // an empty or mistyped folder must not pass for a corpus that holds
  if (fichiers.empty()) {
    std::fprintf(stderr, "no input in the folders named\n");
    return 1;
  }
  std::sort(fichiers.begin(), fichiers.end());
  for (const auto &f : fichiers) {
    std::ifstream flux(f, std::ios::binary);
    if (!flux) {
      std::fprintf(stderr, "%s: unreadable\n", f.c_str());
      return 1;
    }
    const std::vector<char> lu{std::istreambuf_iterator<char>(flux), {}};
    // a block of exactly the input's size, as libFuzzer gives, so that the sanitizers
    // see a read one past its end
    const auto bloc = std::make_unique<uint8_t[]>(lu.size());
    std::copy(lu.begin(), lu.end(), bloc.get());
    std::printf("%s\n", f.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bloc.get(), lu.size());
  }
  std::printf("%zu inputs\n", fichiers.size());
  return 0;
}
