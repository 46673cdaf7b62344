// Tables of numbered objects: one table per kind (files, threads, windows, ...).
//
// A create operation takes the number to use or kAnyNumber (-1). With kAnyNumber the table
// allocates a new number and the create answers that number; with an explicit number the
// table first releases whatever object holds it and the create answers the system handle
// of the new object. 0 always means failure. Operations on a number that names no object
// do nothing and answer 0.
//
// Typical create:
//   if (!table.PrepareNumber(number)) return 0;      // old object gone before the new opens
//   ... make the system object ...
//   int used = 0;
//   if (!table.Add(number, std::move(record), &used)) return 0;  // record already released
//   return CreateAnswer(number, used, handle);
#ifndef ZK_COMMON_OBJECTS_H
#define ZK_COMMON_OBJECTS_H

#include <stdint.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

constexpr int kAnyNumber = -1;

// What a create operation answers once its object is in the table.
inline intptr_t CreateAnswer(int requested, int used, intptr_t handle) {
  return requested == kAnyNumber ? used : handle;
}

// Records are stored by value (use a std::unique_ptr record for kinds that must not move).
// Every member takes the table's lock, so tables can be shared by threads. The lock is a
// plain blocking mutex and not recursive: a function passed to With must not call back
// into the same table. Release functions run outside the lock, so a release that takes
// time (or touches another table) never blocks users of this one.
template <typename T>
class ObjectTable {
 public:
  using ReleaseFn = void (*)(T& record);

  // Automatic numbers run from firstAuto to lastAuto and then wrap around, skipping
  // numbers in use. They stay small so that they fit 32-bit fields, and a table of
  // controls passes lastAuto = 65535 so that a number can serve as a Win32 control ID.
  explicit ObjectTable(ReleaseFn release, int firstAuto = 1, int lastAuto = 0x7FFFFFFF)
      : release_(release), firstAuto_(firstAuto), lastAuto_(lastAuto), next_(firstAuto) {}

  ~ObjectTable() { FreeAll(); }

  ObjectTable(const ObjectTable&) = delete;
  ObjectTable& operator=(const ObjectTable&) = delete;

  // Stores record under number (kAnyNumber: a new number). An object already holding an
  // explicit number is released. On success *used gets the number. A refused record
  // (number below -1, no free automatic number) is released and false answered.
  bool Add(int number, T record, int* used = nullptr) {
    bool replaced = false;
    T old{};
    bool ok = true;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (number == kAnyNumber) {
        number = NextFreeNumberLocked();
        ok = number != kAnyNumber;
      } else if (number < 0) {
        ok = false;
      }
      if (ok) {
        auto it = records_.find(number);
        if (it != records_.end()) {
          old = std::move(it->second);
          it->second = std::move(record);
          replaced = true;
        } else {
          records_.emplace(number, std::move(record));
        }
      }
    }
    if (!ok) {
      Release(record);
      return false;
    }
    if (replaced) Release(old);
    if (used) *used = number;
    return true;
  }

  // The first step of a create: false for a number below kAnyNumber; an explicit number's
  // object is released, so that it is gone before the new system object is made (a file
  // reopened under its own number must not meet its old handle's sharing mode).
  bool PrepareNumber(int number) {
    if (number < kAnyNumber) return false;
    if (number != kAnyNumber) Free(number);
    return true;
  }

  // Runs fn(record) under the lock. False when the number names no object.
  template <typename F>
  bool With(int number, F&& fn) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = records_.find(number);
    if (it == records_.end()) return false;
    fn(it->second);
    return true;
  }

  bool Has(int number) {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.count(number) != 0;
  }

  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.size();
  }

  // Releases the object holding number. False when there is none.
  bool Free(int number) {
    T old{};
    {
      std::lock_guard<std::mutex> lock(mutex_);
      auto it = records_.find(number);
      if (it == records_.end()) return false;
      old = std::move(it->second);
      records_.erase(it);
    }
    Release(old);
    return true;
  }

  // Removes the record without releasing it and moves it to *out: its object now belongs
  // to the caller. False when the number names no object or `accept` refuses the record
  // (then it stays in the table).
  template <typename F>
  bool Take(int number, T* out, F&& accept) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = records_.find(number);
    if (it == records_.end() || !accept(it->second)) return false;
    *out = std::move(it->second);
    records_.erase(it);
    return true;
  }

  void FreeAll() {
    std::map<int, T> all;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      all.swap(records_);
    }
    for (auto& entry : all) Release(entry.second);
  }

 private:
  void Release(T& record) {
    if (release_) release_(record);
  }

  // kAnyNumber when every number of the automatic range is taken.
  int NextFreeNumberLocked() {
    int64_t rangeSize = int64_t(lastAuto_) - firstAuto_ + 1;
    if (rangeSize <= 0) return kAnyNumber;
    if (int64_t(records_.size()) >= rangeSize) {
      int64_t inRange = 0;
      for (auto it = records_.lower_bound(firstAuto_); it != records_.end() && it->first <= lastAuto_; ++it) ++inRange;
      if (inRange >= rangeSize) return kAnyNumber;
    }
    for (;;) {
      int candidate = next_;
      next_ = candidate >= lastAuto_ ? firstAuto_ : candidate + 1;
      if (!records_.count(candidate)) return candidate;
    }
  }

  std::mutex mutex_;
  std::map<int, T> records_;
  ReleaseFn release_;
  int firstAuto_;
  int lastAuto_;
  int next_;
};

#endif
