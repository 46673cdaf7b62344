#include "model/updater_block.h"

namespace {

const char kLineEnd[] = "\r\n";

std::string TextOf(const char* text) { return text ? text : ""; }

bool IsOneLine(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

void PutLine(std::string* out, const std::string& text) {
  *out += text;
  *out += kLineEnd;
}

// Reads the text up to the next CR LF and steps over both; false when no CR LF follows.
bool TakeLine(const std::string& bytes, size_t* at, std::string* text) {
  size_t end = bytes.find(kLineEnd, *at);
  if (end == std::string::npos) return false;
  text->assign(bytes, *at, end - *at);
  *at = end + 2;
  return true;
}

bool TakeByte(const std::string& bytes, size_t* at, uint8_t* value) {
  if (*at >= bytes.size()) return false;
  *value = static_cast<uint8_t>(bytes[*at]);
  ++*at;
  return true;
}

}  // namespace

bool operator==(const UpdaterSettingsBlock& a, const UpdaterSettingsBlock& b) {
  return a.version == b.version && a.mainAddress == b.mainAddress && a.alternativeAddress1 == b.alternativeAddress1 &&
         a.alternativeAddress2 == b.alternativeAddress2 && a.language == b.language && a.productName == b.productName &&
         a.programFile == b.programFile && a.windowTitle == b.windowTitle && a.terminateFlag == b.terminateFlag &&
         a.runFlag == b.runFlag && a.runGuard == b.runGuard;
}

UpdaterSettingsBlock BlockFromSettings(const UpdaterSettings& settings) {
  UpdaterSettingsBlock block;
  block.version = TextOf(settings.version);
  block.mainAddress = TextOf(settings.mainAddress);
  block.alternativeAddress1 = TextOf(settings.alternativeAddress1);
  block.alternativeAddress2 = TextOf(settings.alternativeAddress2);
  // The slots are pointer-sized, but callers built for 32-bit slots leave the upper half
  // undefined: only the low bits carry the value.
  block.language = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uintptr_t>(settings.language)));
  block.productName = TextOf(settings.productName);
  block.programFile = TextOf(settings.programFile);
  block.windowTitle = TextOf(settings.windowTitle);
  block.terminateFlag = static_cast<uint8_t>(static_cast<uintptr_t>(settings.terminateFlag) & 0xFF);
  block.runFlag = static_cast<uint8_t>(static_cast<uintptr_t>(settings.runFlag) & 0xFF);
  block.runGuard = TextOf(settings.runGuard);
  return block;
}

bool UpdaterSettingsBlockIsWritable(const UpdaterSettingsBlock& block) {
  // A line break inside a text would shift every later item when the client reads it.
  for (const std::string* text :
       {&block.version, &block.mainAddress, &block.alternativeAddress1, &block.alternativeAddress2, &block.productName,
        &block.programFile, &block.windowTitle, &block.runGuard}) {
    if (!IsOneLine(*text)) return false;
  }
  return true;
}

std::string EncodeUpdaterSettingsBlock(const UpdaterSettingsBlock& block) {
  std::string out;
  PutLine(&out, block.version);
  PutLine(&out, block.mainAddress);
  PutLine(&out, block.alternativeAddress1);
  PutLine(&out, block.alternativeAddress2);
  uint32_t language = static_cast<uint32_t>(block.language);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((language >> (8 * i)) & 0xFF);
  PutLine(&out, block.productName);
  PutLine(&out, block.programFile);
  PutLine(&out, block.windowTitle);
  out += static_cast<char>(block.terminateFlag);
  out += static_cast<char>(block.runFlag);
  PutLine(&out, block.runGuard);
  return out;
}

bool DecodeUpdaterSettingsBlock(const std::string& bytes, UpdaterSettingsBlock* block) {
  UpdaterSettingsBlock b;
  size_t at = 0;
  if (!TakeLine(bytes, &at, &b.version) || !TakeLine(bytes, &at, &b.mainAddress) ||
      !TakeLine(bytes, &at, &b.alternativeAddress1) || !TakeLine(bytes, &at, &b.alternativeAddress2))
    return false;
  if (bytes.size() - at < 4) return false;
  uint32_t language = 0;
  for (int i = 3; i >= 0; --i) language = (language << 8) | static_cast<unsigned char>(bytes[at + i]);
  at += 4;
  b.language = static_cast<int32_t>(language);
  if (!TakeLine(bytes, &at, &b.productName) || !TakeLine(bytes, &at, &b.programFile) ||
      !TakeLine(bytes, &at, &b.windowTitle) || !TakeByte(bytes, &at, &b.terminateFlag) ||
      !TakeByte(bytes, &at, &b.runFlag) || !TakeLine(bytes, &at, &b.runGuard))
    return false;
  *block = b;
  return true;
}

UpdaterSettings SettingsRecordOf(const UpdaterSettingsBlock& b) {
  UpdaterSettings r{};
  r.version = b.version.c_str();
  r.mainAddress = b.mainAddress.c_str();
  r.alternativeAddress1 = b.alternativeAddress1.c_str();
  r.alternativeAddress2 = b.alternativeAddress2.c_str();
  r.language = b.language;
  r.productName = b.productName.c_str();
  r.programFile = b.programFile.c_str();
  r.windowTitle = b.windowTitle.c_str();
  r.terminateFlag = b.terminateFlag;
  r.runFlag = b.runFlag;
  r.runGuard = b.runGuard.empty() ? nullptr : b.runGuard.c_str();
  return r;
}
