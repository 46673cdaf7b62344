#include "builder/zip_deflate.h"

#include <windows.h>

#include <minizip/zip.h>

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

void DeflateWholeFile(const std::string& path, const std::atomic<bool>& stop, DeflatedFile* out) {
  *out = DeflatedFile{};
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  out->opened = true;
  RawDeflater d;
  if (!StartRawDeflate(&d)) {
    out->result = ZIP_INTERNALERROR;
    CloseHandle(h);
    return;
  }
  std::vector<char> buffer(kZipChunkSize);
  while (!stop) {
    DWORD got = 0;
    if (!ReadFile(h, buffer.data(), kZipChunkSize, &got, nullptr)) {
      out->result = ZIP_ERRNO;
      break;
    }
    bool packed = got == 0 ? FinishRawDeflate(&d, &out->data) : DeflateChunk(&d, buffer.data(), got, &out->data);
    if (!packed) {
      out->result = ZIP_INTERNALERROR;
      break;
    }
    if (got == 0) break;
    out->chunks.push_back({got, out->data.size()});
  }
  out->crc = d.crc;
  out->total = d.total;
  // The output grew in whole steps; a small file would otherwise hold a step each while it
  // waits for the writer.
  out->data.shrink_to_fit();
  EndRawDeflate(&d);
  CloseHandle(h);
}
