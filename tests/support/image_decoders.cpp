// Linked into every test program: code under test reads JPEG and PNG as the main program
// and the setup runtime do, which register both decoders at start-up.
#include "common/images.h"

namespace {

const bool registered = [] {
  RegisterJpegDecoder();
  RegisterPngDecoder();
  return true;
}();

}  // namespace
