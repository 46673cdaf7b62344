// What the toolkit's files share among themselves; callers use tovrel.h only.
#ifndef ZK_TOVREL_INTERNAL_H
#define ZK_TOVREL_INTERNAL_H

#include <windows.h>

#include <stdint.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/objects.h"

namespace tovrel {

// Numbers handed out for -1 start here, clear of the small numbers the program chooses.
constexpr int kFirstAutoNumber = 10000;

// The toolkit's globals; touched on the GUI thread only.
struct ToolkitState {
  int menuImageWidth = 16;
  int menuImageHeight = 16;
  int currentMenu = -1;     // menu bar that titles and items go to
  int currentToolbar = -1;  // tool bar that buttons go to
  int currentRebar = -1;    // rebar that bands go to
};
ToolkitState& State();

// A command id for -1: counts down from 65534, so it stays clear of the program's own
// small ids. Never 0, which callers read as failure.
int AllocateCommandId();

// The objects of one kind: their table, and their numbers in creation order so that
// "the first object that matches" and "all of them" can be walked.
template <typename T>
class Registry {
 public:
  explicit Registry(typename ObjectTable<T>::ReleaseFn release) : table_(release, kFirstAutoNumber) {}

  // Whether a create may go ahead with `number`: -1, or a free number not below 0.
  bool CanTake(int number) { return number == kAnyNumber || (number >= 0 && !table_.Has(number)); }

  // Stores a record for a number that CanTake allowed. A refused record is released.
  bool Add(int number, T record, int* used) {
    if (!table_.Add(number, std::move(record), used)) return false;
    numbers_.push_back(*used);
    return true;
  }

  bool Has(int number) { return table_.Has(number); }

  template <typename F>
  bool With(int number, F&& fn) {
    return table_.With(number, std::forward<F>(fn));
  }

  bool Free(int number) {
    numbers_.erase(std::remove(numbers_.begin(), numbers_.end(), number), numbers_.end());
    return table_.Free(number);
  }

  void FreeAll() {
    std::vector<int> all = numbers_;
    for (int n : all) Free(n);
  }

  const std::vector<int>& Numbers() const { return numbers_; }

  // The first object, in creation order, for which matches(record) holds; -1 when none.
  // `matches` must not use this registry.
  template <typename F>
  int FindIf(F&& matches) {
    for (int n : numbers_) {
      bool hit = false;
      table_.With(n, [&](T& r) { hit = matches(r); });
      if (hit) return n;
    }
    return -1;
  }

  // The object numbered `ref`, else the first that matches(record) holds for (one of its
  // handles equals `ref`); -1 when none.
  template <typename F>
  int Find(intptr_t ref, F&& matches) {
    if (ref >= 0 && ref <= INT32_MAX && table_.Has(static_cast<int>(ref))) return static_cast<int>(ref);
    return FindIf(std::forward<F>(matches));
  }

  // For records that keep their control as `window`: the object numbered `ref`, else the
  // one whose window is `ref`; -1 when none.
  int FindByWindow(intptr_t ref) {
    return Find(ref, [&](T& r) { return reinterpret_cast<intptr_t>(r.window) == ref; });
  }

  // Frees the object FindByWindow names, or every object for -1. 1, or 0 when none matched.
  // Freeing the object that adds go to leaves no current object: `current` becomes -1.
  int FreeByWindow(intptr_t ref, int& current) {
    if (ref == kAnyNumber) {
      FreeAll();
      current = kAnyNumber;
      return 1;
    }
    int n = FindByWindow(ref);
    if (n < 0 || !Free(n)) return 0;
    if (current == n) current = kAnyNumber;
    return 1;
  }

 private:
  ObjectTable<T> table_;
  std::vector<int> numbers_;
};

// Tool bars (toolbar.cpp).
HWND GetToolbarWindow(int number);
// CreateToolbar without making the new tool bar the current one: a menu bar's own bar.
intptr_t MakeToolbar(int number, HWND parent, int imageWidth, int imageHeight, int flags, bool makeCurrent);
// AddToolbarButton on a given tool bar.
int AddButtonTo(int toolbar, int commandId, const std::string& text, HANDLE image, int style);
// Frees a tool bar by number or window, or all for -1. 1, or 0 when none matched.
int FreeToolbar(intptr_t toolbar);

// Rebars (rebar.cpp): frees a rebar by number or window, or all for -1. The hosted
// windows go back to the rebar's parent.
int FreeRebar(intptr_t rebar);

}  // namespace tovrel

#endif
