// The PNG decoder (libpng), linked into the programs that register it.
#include "common/images.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <png.h>

#include "common/image_decoders.h"

namespace {

using image_detail::kMaxSide;
using image_detail::NewDib;
using image_detail::SizeOk;

// Everything the PNG decoder owns lives here, outside the frame that calls setjmp, so that
// nothing is lost or half-updated when libpng jumps back on an error.
struct PngJob {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  png_bytep* rows = nullptr;
  int width = 0;
  int height = 0;
};

void PngRead(png_structp png, png_bytep out, size_t count) {
  PngJob* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (count > job->size - job->pos) png_error(png, "truncated");
  memcpy(out, job->data + job->pos, count);
  job->pos += count;
}

// libpng would print to stderr and then jump itself; both stay quiet here.
void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

// Holds no C++ objects: libpng leaves it through longjmp.
bool RunPng(PngJob* job) {
  job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (!job->png) return false;
  job->info = png_create_info_struct(job->png);
  if (!job->info) return false;
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_set_read_fn(job->png, job, PngRead);
  png_set_user_limits(job->png, kMaxSide, kMaxSide);
  png_read_info(job->png, job->info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, colorType = 0;
  png_get_IHDR(job->png, job->info, &w, &h, &depth, &colorType, nullptr, nullptr, nullptr);
  if (!SizeOk(w, h)) return false;
  if (depth == 16) png_set_strip_16(job->png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(job->png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0 && depth < 8) png_set_expand_gray_1_2_4_to_8(job->png);
  if (png_get_valid(job->png, job->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(job->png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(job->png);
  png_set_bgr(job->png);
  png_set_filler(job->png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(job->png);
  png_read_update_info(job->png, job->info);
  if (png_get_rowbytes(job->png, job->info) != size_t(w) * 4) return false;
  job->bitmap = NewDib(int(w), int(h), &job->bits);
  if (!job->bitmap) return false;
  job->width = int(w);
  job->height = int(h);
  job->rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * h));
  if (!job->rows) return false;
  for (png_uint_32 y = 0; y < h; ++y) job->rows[y] = reinterpret_cast<png_bytep>(job->bits + size_t(y) * w);
  png_read_image(job->png, job->rows);
  png_read_end(job->png, nullptr);
  return true;
}

HBITMAP DecodePng(const uint8_t* p, size_t size, int* width, int* height) {
  if (size < 8 || png_sig_cmp(p, 0, 8)) return nullptr;
  PngJob job;
  job.data = p;
  job.size = size;
  bool ok = RunPng(&job);
  if (job.png) png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, nullptr);
  free(job.rows);
  if (!ok) {
    if (job.bitmap) DeleteObject(job.bitmap);
    return nullptr;
  }
  *width = job.width;
  *height = job.height;
  return job.bitmap;
}

}  // namespace

void RegisterPngDecoder() { image_detail::SetPngDecoder(DecodePng); }
