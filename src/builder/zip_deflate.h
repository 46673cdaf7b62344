// Raw deflate of an archive entry's data, outside minizip, so that entries can be
// compressed on other threads and handed to minizip already packed.
//
// The stream has the parameters minizip gives its own entries (raw, 32 KB window, memory
// level 8, default strategy) and is fed the same 102,400-byte chunks the archiver reads,
// so an entry's bytes are the same whichever thread packs it.
#ifndef ZK_BUILDER_ZIP_DEFLATE_H
#define ZK_BUILDER_ZIP_DEFLATE_H

#include <stddef.h>
#include <stdint.h>

#include <atomic>
#include <string>
#include <vector>

#include <zlib.h>

// The archiver reads sources, and reports progress, in chunks of this size.
constexpr uint32_t kZipChunkSize = 102400;
constexpr int kZipLevel = 9;

struct RawDeflater {
  z_stream stream{};
  bool started = false;
  uint32_t crc = 0;    // of the source bytes fed so far
  uint64_t total = 0;  // source bytes fed so far
};

bool StartRawDeflate(RawDeflater* d);
// Feeds one chunk of source and appends what the stream gives out.
bool DeflateChunk(RawDeflater* d, const char* data, size_t size, std::string* out);
// Appends the rest of the stream and ends it.
bool FinishRawDeflate(RawDeflater* d, std::string* out);
void EndRawDeflate(RawDeflater* d);

// One source file packed whole in memory, with where each chunk's output ends so that the
// writer can put it into the archive, and report it, chunk by chunk.
struct DeflatedFile {
  bool opened = false;  // false: the source could not be opened (the entry gets no data)
  int result = 0;       // ZIP_OK, or ZIP_ERRNO / ZIP_INTERNALERROR after the chunks listed
  uint32_t crc = 0;
  uint64_t total = 0;
  std::string data;
  struct Chunk {
    uint32_t sourceBytes;
    size_t end;  // offset in data just past this chunk's output
  };
  std::vector<Chunk> chunks;
};

// What one thread keeps from file to file. A fresh deflate state, read buffer and output
// per file cost several heap blocks each, and with many small files packed on several
// threads at once the threads spent most of their time waiting for the heap's lock.
struct DeflateScratch {
  RawDeflater deflater;  // reset, not made anew, for the next file: the same bytes come out
  std::vector<char> buffer;
  std::string out;
  ~DeflateScratch() { EndRawDeflate(&deflater); }
};

// Reads and packs path (UTF-8). Returns early, with what it has, when stop becomes true.
void DeflateWholeFile(const std::string& path, const std::atomic<bool>& stop, DeflateScratch* scratch,
                      DeflatedFile* out);

#endif
