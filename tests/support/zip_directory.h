// An archive's central directory read straight from its bytes, for tests that check what
// the archiver stored (name bytes, flags and stored data) without going through the code
// under test.
// Small archives only: no zip64 records, no archive comment.
#ifndef ZK_TESTS_SUPPORT_ZIP_DIRECTORY_H
#define ZK_TESTS_SUPPORT_ZIP_DIRECTORY_H

#include <stdint.h>

#include <string>
#include <vector>

struct StoredEntry {
  uint16_t flag = 0;       // general-purpose flag of the central header
  uint16_t localFlag = 0;  // the same field of the local header
  std::string name;        // bytes as stored in the central header
  std::string localName;   // and in the local header
  uint32_t externalAttributes = 0;
};

inline uint32_t StoredLe(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}

// The entries in directory order; empty when the bytes hold no readable directory.
inline std::vector<StoredEntry> ReadStoredEntries(const std::string& zip) {
  std::vector<StoredEntry> entries;
  if (zip.size() < 22 || zip.compare(zip.size() - 22, 4, "PK\x05\x06") != 0) return entries;
  size_t count = StoredLe(zip, zip.size() - 12, 2);
  size_t at = StoredLe(zip, zip.size() - 6, 4);
  for (size_t i = 0; i < count; ++i) {
    if (at + 46 > zip.size() || zip.compare(at, 4, "PK\x01\x02") != 0) return {};
    StoredEntry e;
    e.flag = static_cast<uint16_t>(StoredLe(zip, at + 8, 2));
    size_t nameLength = StoredLe(zip, at + 28, 2);
    size_t skip = nameLength + StoredLe(zip, at + 30, 2) + StoredLe(zip, at + 32, 2);
    e.externalAttributes = StoredLe(zip, at + 38, 4);
    size_t local = StoredLe(zip, at + 42, 4);
    e.name = zip.substr(at + 46, nameLength);
    if (local + 30 > zip.size() || zip.compare(local, 4, "PK\x03\x04") != 0) return {};
    e.localFlag = static_cast<uint16_t>(StoredLe(zip, local + 6, 2));
    e.localName = zip.substr(local + 30, StoredLe(zip, local + 26, 2));
    entries.push_back(e);
    at += 46 + skip;
  }
  return entries;
}

// The data of the entry called name when it is stored (not compressed); "<absent>" when
// there is no such entry, "<compressed>" when its data is compressed.
inline std::string StoredEntryData(const std::string& zip, const std::string& name) {
  if (zip.size() < 22) return "<absent>";
  size_t count = StoredLe(zip, zip.size() - 12, 2);
  size_t at = StoredLe(zip, zip.size() - 6, 4);
  for (size_t i = 0; i < count && at + 46 <= zip.size(); ++i) {
    size_t nameLength = StoredLe(zip, at + 28, 2);
    if (nameLength == name.size() && zip.compare(at + 46, nameLength, name) == 0) {
      if (StoredLe(zip, at + 10, 2) != 0) return "<compressed>";
      size_t local = StoredLe(zip, at + 42, 4);
      if (local + 30 > zip.size()) return "<absent>";
      size_t data = local + 30 + StoredLe(zip, local + 26, 2) + StoredLe(zip, local + 28, 2);
      size_t size = StoredLe(zip, at + 20, 4);
      if (data > zip.size() || size > zip.size() - data) return "<absent>";
      return zip.substr(data, size);
    }
    at += 46 + nameLength + StoredLe(zip, at + 30, 2) + StoredLe(zip, at + 32, 2);
  }
  return "<absent>";
}

#endif
