#include "builder/zip_deflate.h"

#include <windows.h>

#include <minizip/zip.h>

#include "common/scoped.h"
#include "common/text.h"

namespace {

// Output grows in steps of this size; deflate fills what it is given before it asks again.
constexpr size_t kOutStep = 64 * 1024;

bool Pump(RawDeflater* d, int flush, std::string* out) {
  z_stream& s = d->stream;
  for (;;) {
    size_t used = out->size();
    out->resize(used + kOutStep);
    s.next_out = reinterpret_cast<Bytef*>(&(*out)[used]);
    s.avail_out = static_cast<uInt>(kOutStep);
    int r = deflate(&s, flush);
    out->resize(used + kOutStep - s.avail_out);
    if (r == Z_STREAM_END) return true;
    // Z_BUF_ERROR with room to spare means deflate cannot go on: only a finish may ask for that.
    if (r == Z_BUF_ERROR && s.avail_out != 0) return flush != Z_FINISH;
    if (r != Z_OK && r != Z_BUF_ERROR) return false;
    // With room left over, deflate has taken all input and given all it can for now.
    if (s.avail_out != 0 && flush != Z_FINISH) return true;
  }
}

}  // namespace

bool StartRawDeflate(RawDeflater* d) {
  *d = RawDeflater{};
  d->crc = static_cast<uint32_t>(crc32(0, Z_NULL, 0));
  d->started = deflateInit2(&d->stream, kZipLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  return d->started;
}

bool DeflateChunk(RawDeflater* d, const char* data, size_t size, std::string* out) {
  d->crc = static_cast<uint32_t>(crc32(d->crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size)));
  d->total += size;
  d->stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
  d->stream.avail_in = static_cast<uInt>(size);
  return Pump(d, Z_NO_FLUSH, out);
}

bool FinishRawDeflate(RawDeflater* d, std::string* out) {
  d->stream.next_in = nullptr;
  d->stream.avail_in = 0;
  return Pump(d, Z_FINISH, out);
}

void EndRawDeflate(RawDeflater* d) {
  if (d->started) deflateEnd(&d->stream);
  d->started = false;
}

void DeflateWholeFile(const std::string& path, const std::atomic<bool>& stop, DeflateScratch* scratch,
                      DeflatedFile* out) {
  *out = DeflatedFile{};
  ScopedHandle h(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!h) return;
  out->opened = true;
  RawDeflater& d = scratch->deflater;
  bool started = d.started ? deflateReset(&d.stream) == Z_OK : StartRawDeflate(&d);
  if (!started) {
    EndRawDeflate(&d);
    out->result = ZIP_INTERNALERROR;
    return;
  }
  d.crc = static_cast<uint32_t>(crc32(0, Z_NULL, 0));
  d.total = 0;
  scratch->buffer.resize(kZipChunkSize);
  std::string& packed = scratch->out;
  packed.clear();
  while (!stop) {
    DWORD got = 0;
    if (!ReadFile(h.get(), scratch->buffer.data(), kZipChunkSize, &got, nullptr)) {
      out->result = ZIP_ERRNO;
      break;
    }
    bool ok = got == 0 ? FinishRawDeflate(&d, &packed) : DeflateChunk(&d, scratch->buffer.data(), got, &packed);
    if (!ok) {
      out->result = ZIP_INTERNALERROR;
      break;
    }
    if (got == 0) break;
    out->chunks.push_back({got, packed.size()});
  }
  out->crc = d.crc;
  out->total = d.total;
  // Copied out at its size: the scratch output keeps whole growth steps, and a small
  // file waiting for the writer should hold only its own bytes.
  out->data.assign(packed);
  // A stream that failed or was stopped part-way is made anew next time, not reset.
  if (out->result != 0 || stop) EndRawDeflate(&d);
}
