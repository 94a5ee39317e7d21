// Replays stored inputs through a fuzz target in the host build: every file of each folder
// named on the command line, in name order. The first folder (the seed corpus) must hold at
// least one input; the others (regression cases) may be missing or empty. A finding aborts.
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_support.h"

// The files of `name`, with absolute paths: a target may change the current directory.
static std::vector<std::string> FilesIn(const char* name) {
  std::vector<std::string> files;
  char* resolved = realpath(name, nullptr);
  if (!resolved) return files;
  std::string folder = resolved;
  free(resolved);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return files;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_type == DT_REG) files.push_back(folder + "/" + entry->d_name);
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s corpus-folder [regression-folder...]\n", argv[0]);
    return 2;
  }
  std::vector<std::vector<std::string>> folders;
  for (int i = 1; i < argc; ++i) folders.push_back(FilesIn(argv[i]));
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::vector<std::string>& files = folders[size_t(i - 1)];
    if (i == 1 && files.empty()) {
      fprintf(stderr, "no inputs in %s\n", argv[i]);
      return 1;
    }
    for (const std::string& path : files) {
      std::ifstream in(path, std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  printf("%d inputs replayed\n", replayed);
  return 0;
}
