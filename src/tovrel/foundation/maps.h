// The toolkit's keyed maps: text keys, with a current entry like the lists.
#ifndef ZK_TOVREL_FOUNDATION_MAPS_H
#define ZK_TOVREL_FOUNDATION_MAPS_H

#include <windows.h>

#include <commctrl.h>

#include <stddef.h>
#include <stdint.h>
#include <string>
#include <unordered_map>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// A map from text to a value. The bucket count only sizes the table up front; entries
// live in their own nodes, so a value's address stays valid until its key is deleted.
template <typename V>
class ToolkitMap {
 public:
  using Entry = std::pair<const std::string, V>;

  explicit ToolkitMap(size_t buckets) { entries_.rehash(buckets); }
  ToolkitMap(const ToolkitMap&) = delete;
  ToolkitMap& operator=(const ToolkitMap&) = delete;

  // The entry for `key`, created zeroed when absent; it becomes current.
  V& Add(const std::string& key) {
    auto it = entries_.try_emplace(key).first;
    current_ = &*it;
    return it->second;
  }

  // The value for `key`, made current; nullptr when absent, and then nothing changes.
  V* Find(const std::string& key) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return nullptr;
    current_ = &*it;
    return &it->second;
  }

  // Removes the key. When it was current, the map has no current entry.
  bool Delete(const std::string& key) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return false;
    if (current_ == &*it) current_ = nullptr;
    entries_.erase(it);
    return true;
  }

  void Clear() {
    entries_.clear();
    current_ = nullptr;
  }

  // The current entry (key and value), or nullptr.
  Entry* Current() const { return current_; }

  size_t Size() const { return entries_.size(); }

  // Walking does not move the current entry. The order is the table's own.
  typename std::unordered_map<std::string, V>::iterator begin() { return entries_.begin(); }
  typename std::unordered_map<std::string, V>::iterator end() { return entries_.end(); }

 private:
  std::unordered_map<std::string, V> entries_;
  Entry* current_ = nullptr;
};

// Map keys for handles and addresses. The system keeps window, menu and icon handles
// within 32 bits, so a handle is keyed by the decimal of its low 32 bits read as a
// signed number: one that went through a 32-bit field and came back sign-extended still
// finds its entry. A record's address has no such bound and is keyed by all 64 bits.
std::string HandleKey(const void* handle);
std::string AddressKey(const void* address);

// An image loaded once for several holders (LoadToolkitImage with sharing).
struct SharedIcon {
  int32_t referenceCount;  // holders beyond the first
  HIMAGELIST imageList;    // destroyed with the last holder; 0 = none
  std::string fileName;    // its key in SharedIconNameMap
};

// A window of the GUI thread that the toolkit watches through its own window procedure.
struct TrackedWindow {
  HWND window;
  WNDPROC previousProc;  // the procedure it replaced; called only through CallWindowProcA/W
  HWND parent;           // as last seen at WM_SHOWWINDOW
  int32_t kind;          // the class code the window was recorded with
  uint8_t container;     // 1 for a PanelEx container
  uint8_t isNew;         // 1 until the first WM_WINDOWPOSCHANGING
  int32_t minWidth;      // size limits; 0 = none
  int32_t minHeight;
  int32_t maxWidth;
  int32_t maxHeight;
};

// A key combination bound to a command of a window.
struct ShortcutBinding {
  int32_t keyCode;    // a virtual-key code, or the character code of an upper-case character
  int32_t flags;      // FVIRTKEY, FSHIFT, FCONTROL, FALT
  int16_t commandId;  // sign-extended when read
};

extern ToolkitMap<uint32_t> ColourNameMap;          // lower-case colour name -> 0xRRGGBB
extern ToolkitMap<int32_t> SlicedImageValidMap;     // AddressKey of a live SlicedImage -> 1
extern ToolkitMap<SharedIcon> SharedIconMap;        // HandleKey of an icon or bitmap
extern ToolkitMap<HANDLE> SharedIconNameMap;        // file name -> icon or bitmap handle
extern ToolkitMap<TrackedWindow> TrackedWindowMap;  // HandleKey of the window
// HandleKey of a top-level window; "0" for shortcuts of whichever one is active.
extern ToolkitMap<ToolkitList<ShortcutBinding>> ShortcutMap;

}  // namespace tovrel

#endif
