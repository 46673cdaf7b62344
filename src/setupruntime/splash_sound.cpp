#include "setupruntime/splash_sound.h"

#include <mmsystem.h>
#include <dsound.h>

#include <string.h>

#include <string>

#include "common/scoped.h"
#include "common/whole_file.h"

struct SplashSound {
  // Declared first, so that it is unloaded after the objects it made are released.
  ScopedModule library;
  IDirectSound* device = nullptr;
  IDirectSoundBuffer* buffer = nullptr;
};

namespace {

std::string ReadWhole(const std::wstring& path) {
  std::string bytes;
  // A sound is read whole into the buffer; a file beyond what DirectSound takes is refused.
  ReadWholeFile(path, DSBSIZE_MAX, &bytes);
  return bytes;
}

uint32_t Le32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

// Finds the "fmt " and "data" chunks of a RIFF WAVE file, every length checked against
// the file.
bool ParseWave(const std::string& b, WAVEFORMATEX* format, size_t* dataAt, size_t* dataSize) {
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    uint32_t size = Le32(b, at + 4);
    size_t body = at + 8;
    if (size > b.size() - body) return false;
    if (b.compare(at, 4, "fmt ") == 0 && size >= 16) {
      memset(format, 0, sizeof(*format));
      memcpy(format, &b[body], 16);
      haveFormat = format->wFormatTag == WAVE_FORMAT_PCM;
    } else if (b.compare(at, 4, "data") == 0) {
      *dataAt = body;
      *dataSize = size;
      return haveFormat && size > 0;
    }
    at = body + size + (size & 1);
  }
  return false;
}

}  // namespace

SplashSound* PlaySplashSound(HWND window, const std::wstring& path) {
  std::string wave = ReadWhole(path);
  WAVEFORMATEX format;
  size_t dataAt = 0, dataSize = 0;
  if (!ParseWave(wave, &format, &dataAt, &dataSize)) return nullptr;
  wchar_t system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  SplashSound* s = new SplashSound;
  s->library.reset(LoadLibraryW((std::wstring(system, n) + L"\\dsound.dll").c_str()));
  using CreateFn = HRESULT(WINAPI*)(LPCGUID, IDirectSound**, IUnknown*);
  CreateFn create =
      s->library
          ? reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(s->library.get(), "DirectSoundCreate")))
          : nullptr;
  if (!create || FAILED(create(nullptr, &s->device, nullptr)) ||
      FAILED(s->device->SetCooperativeLevel(window, DSSCL_NORMAL))) {
    FreeSplashSound(s);
    return nullptr;
  }
  DSBUFFERDESC desc = {};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DSBCAPS_GLOBALFOCUS;
  desc.dwBufferBytes = static_cast<DWORD>(dataSize);
  desc.lpwfxFormat = &format;
  void* p1 = nullptr;
  void* p2 = nullptr;
  DWORD n1 = 0, n2 = 0;
  if (FAILED(s->device->CreateSoundBuffer(&desc, &s->buffer, nullptr)) ||
      FAILED(s->buffer->Lock(0, desc.dwBufferBytes, &p1, &n1, &p2, &n2, 0))) {
    FreeSplashSound(s);
    return nullptr;
  }
  memcpy(p1, &wave[dataAt], n1);
  if (p2) memcpy(p2, &wave[dataAt + n1], n2);
  s->buffer->Unlock(p1, n1, p2, n2);
  if (FAILED(s->buffer->Play(0, 0, 0))) {
    FreeSplashSound(s);
    return nullptr;
  }
  return s;
}

void FreeSplashSound(SplashSound* s) {
  if (!s) return;
  if (s->buffer) {
    s->buffer->Stop();
    s->buffer->Release();
  }
  if (s->device) s->device->Release();
  delete s;
}
