// The JPEG decoder (libjpeg), linked into the programs that register it.
#include "common/images.h"

#include <windows.h>

#include <limits.h>
#include <setjmp.h>

#include <memory>

// jpeglib.h must follow windows.h: its jconfig.h leaves INT32 and boolean to the system
// headers once they are read. jerror.h needs jconfig.h's settings, so it comes last.
#include <jpeglib.h>
#include <jerror.h>

#include "common/image_decoders.h"

namespace {

using image_detail::NewDib;
using image_detail::Pixel;
using image_detail::SizeOk;

struct JpegJob {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  jmp_buf jump;
  bool created = false;
  const uint8_t* data = nullptr;
  size_t size = 0;
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
};

// libjpeg's own handler would end the process.
void JpegErrorExit(j_common_ptr c) { longjmp(static_cast<JpegJob*>(c->client_data)->jump, 1); }

// Warnings that mean pixels were made up (truncated or damaged entropy data) end the
// decode like errors; harmless ones (stray bytes before a marker, odd JFIF versions) not.
void JpegEmitMessage(j_common_ptr c, int level) {
  if (level >= 0) return;
  switch (c->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
      longjmp(static_cast<JpegJob*>(c->client_data)->jump, 1);
    default:
      break;
  }
}

void JpegOutputMessage(j_common_ptr) {}

// Holds no C++ objects: libjpeg leaves it through longjmp.
bool RunJpeg(JpegJob* job) {
  jpeg_decompress_struct* ci = &job->cinfo;
  ci->err = jpeg_std_error(&job->err);
  job->err.error_exit = JpegErrorExit;
  job->err.emit_message = JpegEmitMessage;
  job->err.output_message = JpegOutputMessage;
  ci->client_data = job;  // kept by jpeg_create_decompress
  job->created = true;    // destroying a half-created object is safe
  if (setjmp(job->jump)) return false;
  jpeg_create_decompress(ci);
  jpeg_mem_src(ci, job->data, static_cast<unsigned long>(job->size));
  if (jpeg_read_header(ci, TRUE) != JPEG_HEADER_OK) return false;
  if (!SizeOk(ci->image_width, ci->image_height)) return false;
  bool cmyk = ci->jpeg_color_space == JCS_CMYK || ci->jpeg_color_space == JCS_YCCK;
  ci->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(ci);
  if (ci->output_components != 4 || !SizeOk(ci->output_width, ci->output_height)) return false;
  job->bitmap = NewDib(int(ci->output_width), int(ci->output_height), &job->bits);
  if (!job->bitmap) return false;
  JSAMPARRAY scratch = nullptr;
  if (cmyk)
    scratch = (*ci->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(ci), JPOOL_IMAGE, ci->output_width * 4, 1);
  while (ci->output_scanline < ci->output_height) {
    uint32_t* out = job->bits + size_t(ci->output_scanline) * ci->output_width;
    JSAMPROW row = cmyk ? scratch[0] : reinterpret_cast<JSAMPROW>(out);
    if (jpeg_read_scanlines(ci, &row, 1) != 1) return false;
    if (cmyk) {
      // CMYK JPEGs in the wild are Adobe's, which store the inks inverted.
      for (JDIMENSION x = 0; x < ci->output_width; ++x) {
        const JSAMPLE* s = row + x * 4;
        unsigned k = s[3];
        out[x] = Pixel(s[0] * k / 255, s[1] * k / 255, s[2] * k / 255);
      }
    }
  }
  jpeg_finish_decompress(ci);
  return true;
}

HBITMAP DecodeJpeg(const uint8_t* p, size_t size, int* width, int* height) {
  if (size < 3 || p[0] != 0xFF || p[1] != 0xD8 || p[2] != 0xFF || size > ULONG_MAX) return nullptr;
  std::unique_ptr<JpegJob> job(new JpegJob());
  job->data = p;
  job->size = size;
  bool ok = RunJpeg(job.get());
  if (job->created) jpeg_destroy_decompress(&job->cinfo);
  if (!ok) {
    if (job->bitmap) DeleteObject(job->bitmap);
    return nullptr;
  }
  *width = int(job->cinfo.output_width);
  *height = int(job->cinfo.output_height);
  return job->bitmap;
}

}  // namespace

void RegisterJpegDecoder() { image_detail::SetJpegDecoder(DecodeJpeg); }
