// Writes PenShape.bmp and Logo.bmp into the folder given (ui/pictures keeps
// the files it made; the build copies them beside the program).
#include <cstdio>
#include <fstream>
#include <string>

#include "ui/PenPictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  for (const auto& [name, bytes] : {std::pair{"PenShape.bmp", pen::PenShapeBmp()}, {"Logo.bmp", pen::LogoBmp()}}) {
    std::ofstream out(folder + name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), name);
      return 1;
    }
  }
  return 0;
}
