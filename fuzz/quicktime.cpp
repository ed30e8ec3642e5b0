// Fuzzes the movie reader: the input is the content of a "moov" box (movie header, tracks,
// Apple's keys and item list), placed after an ftyp box in a box that runs to the end of the
// file, so that every mutation lands inside the movie.
#include "fuzz/PictureFuzzSupport.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const uint8_t kHead[] = {0, 0, 0, 16, 'f', 't', 'y', 'p', 'q', 't', ' ', ' ', 0, 0, 0, 0,
                                  0, 0, 0, 0,  'm', 'o', 'o', 'v'};
  std::vector<uint8_t> file(std::begin(kHead), std::end(kHead));
  file.insert(file.end(), data, data + size);
  fuzzsupport::readPicture(file);
  return 0;
}
