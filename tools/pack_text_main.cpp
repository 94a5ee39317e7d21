// pack_text INPUT OUTPUT: writes the packed form of INPUT, followed by a NUL, to OUTPUT.
#include <stdio.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tools/pack_text.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: pack_text INPUT OUTPUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    fprintf(stderr, "pack_text: cannot read %s\n", argv[1]);
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::string packed = PackText(text.str());
  if (packed.empty()) {
    fprintf(stderr, "pack_text: %s holds a NUL byte and cannot be packed\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out.write(packed.data(), std::streamsize(packed.size()));
  out.put('\0');  // the resource is read as a NUL-terminated text
  if (!out) {
    fprintf(stderr, "pack_text: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
