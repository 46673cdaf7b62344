// Entries extracted by worker threads: the installation must look the same whatever the
// number of workers, on disk, in uninstall.dat and on the installing page, and a failing
// entry is still asked about in archive order.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/text.h"
#include "setupruntime/install_test_support.h"
#include "setupruntime/install_workers.h"

namespace {

std::string Filler(int seed, size_t size) {
  std::string s;
  for (int i = 0; s.size() < size; ++i)
    s += "entry " + std::to_string(seed) + " line " + std::to_string(i * 7919 % 100003) + "\r\n";
  s.resize(size);
  return s;
}

// Folders, files in and out of them, a large entry that takes many chunks, an unsafe
// name in the middle, and targets written twice (the later entry wins, as in order).
std::vector<ZipItem> ManyEntries() {
  std::vector<ZipItem> items{{"", "", FILE_ATTRIBUTE_DIRECTORY}, {"Bin/", "", FILE_ATTRIBUTE_DIRECTORY}};
  for (int i = 0; i < 12; ++i) items.push_back({"Bin/b" + std::to_string(i) + ".dll", Filler(i, 1000 + 3000 * i)});
  items.push_back({"Bin/large.dat", Filler(99, 1500000)});
  items.push_back({"../zk_outside.txt", "hostile"});
  items.push_back({"Docs/Deep/", "", FILE_ATTRIBUTE_DIRECTORY});
  for (int i = 0; i < 12; ++i) items.push_back({"Docs/Deep/d" + std::to_string(i) + ".txt", Filler(100 + i, 500 * i)});
  items.push_back({"Bin/b3.dll", "the second b3"});
  items.push_back({"BIN/B5.DLL", "the second b5, named in capitals"});
  items.push_back({"readme.txt", "read me"});
  return items;
}

// Every file and folder below folder (relative name, and the bytes of a file), sorted.
void ListTree(const std::wstring& folder, const std::wstring& relative, std::vector<std::string>* out) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + relative + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out->push_back(WideToUtf8(relative + name + L"\\"));
      ListTree(folder, relative + name + L"\\", out);
    } else {
      out->push_back(WideToUtf8(relative + name) + "=" + GetBytes(folder + relative + name));
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

std::vector<std::string> Tree(const std::wstring& folder) {
  std::vector<std::string> entries;
  ListTree(folder, L"", &entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The paths of the "#DF" records of an uninstall log, in their order.
std::vector<std::wstring> FileRecords(const std::string& log) {
  std::vector<std::wstring> paths;
  const std::string mark = "#DF\r\n";
  for (size_t at = log.find(mark); at != std::string::npos; at = log.find(mark, at)) {
    at += mark.size();
    size_t end = log.find("\r\n", at);
    paths.push_back(Utf8ToWide(log.substr(at, end - at)));
  }
  return paths;
}

int ThreadsOfThisProcess() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  int n = 0;
  for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t)) {
    if (t.th32OwnerProcessID == GetCurrentProcessId()) ++n;
  }
  CloseHandle(snap);
  return n;
}

TEST_F(InstallTest, AnyNumberOfWorkersInstallsTheSameWay) {
  const std::vector<ZipItem> items = ManyEntries();
  UseArchive(items);
  struct Outcome {
    std::vector<std::string> tree;
    std::string log;
    std::vector<std::wstring> progress, statuses, infos;
  } alone;
  // 0: the install thread extracts every entry itself, as without workers.
  for (int workers : {0, 1, 2, 8}) {
    SCOPED_TRACE("workers " + std::to_string(workers));
    RemoveWorkFolder(App());
    ui = RecordingUi();
    SetExtractWorkerCount(workers);
    ASSERT_EQ(Run(), 1);
    Outcome now{Tree(App()), GetBytes(App() + L"uninstall.dat"), ui.progress, ui.statuses, ui.infos};
    if (workers > 0) {
      EXPECT_EQ(now.tree, alone.tree);
      EXPECT_EQ(now.log, alone.log);
      EXPECT_EQ(now.progress, alone.progress);
      EXPECT_EQ(now.statuses, alone.statuses);
      EXPECT_EQ(now.infos, alone.infos);
      EXPECT_EQ(ui.asks, std::vector<std::wstring>());
      continue;
    }
    alone = now;
    // The reference itself: each safe entry written, named once on the page and, for a
    // file, recorded, all in archive order.
    std::vector<std::wstring> shown, recorded;
    for (const ZipItem& item : items) {
      if (item.name.find("..") != std::string::npos) continue;
      std::wstring path = App() + Utf8ToWide(item.name);
      std::replace(path.begin(), path.end(), L'/', L'\\');
      shown.push_back(L"Extracting files:\n" + path);
      if (item.name.empty() || item.name.back() == '/') continue;
      recorded.push_back(path);
    }
    // A target written twice holds the later entry.
    std::map<std::wstring, std::string> last;
    for (const ZipItem& item : items) {
      if (item.name.find("..") == std::string::npos) last[Utf8ToWide(item.name)] = item.data;
    }
    EXPECT_EQ(GetBytes(App() + L"Bin\\b3.dll"), last[L"Bin/b3.dll"]);
    EXPECT_EQ(GetBytes(App() + L"Bin\\b5.dll"), last[L"BIN/B5.DLL"]);
    EXPECT_EQ(GetBytes(App() + L"Bin\\b4.dll"), last[L"Bin/b4.dll"]);
    EXPECT_EQ(GetBytes(App() + L"Bin\\large.dat"), last[L"Bin/large.dat"]);
    EXPECT_EQ(GetBytes(App() + L"Docs\\Deep\\d11.txt"), last[L"Docs/Deep/d11.txt"]);
    shown.push_back(L"Finishing the installation...");
    EXPECT_EQ(ui.statuses, shown);
    EXPECT_EQ(FileRecords(now.log), recorded);
    EXPECT_EQ(ui.infos.size(), 1u);
    const int entries = static_cast<int>(items.size());
    EXPECT_EQ(ui.progress.front(), L"range " + std::to_wstring(entries + 2));
    EXPECT_EQ(ui.progress.size(), static_cast<size_t>(entries) + 5);
    EXPECT_EQ(ui.progress[static_cast<size_t>(entries)], std::to_wstring(entries));
  }
}

std::vector<ZipItem> NumberedFiles(int count) {
  std::vector<ZipItem> items;
  for (int i = 0; i < count; ++i) {
    char name[16];
    snprintf(name, sizeof name, "f%02d.txt", i);
    items.push_back({name, Filler(i, 20000)});
  }
  return items;
}

std::wstring Numbered(int i) {
  wchar_t name[16];
  swprintf(name, 16, L"f%02d.txt", i);
  return name;
}

TEST_F(InstallTest, ThrottledPageKeepsTheFirstTheFailingAndTheLastEntry) {
  UseArchive(NumberedFiles(10));
  SetExtractUpdateInterval(3600000);
  for (int workers : {0, 2}) {
    SCOPED_TRACE("workers " + std::to_string(workers));
    RemoveWorkFolder(App());
    CreateFolderPath(App());
    ui = RecordingUi();
    SetExtractWorkerCount(workers);
    PutBytes(App() + Numbered(4), "old");
    HANDLE lock = CreateFileW((App() + Numbered(4)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_EQ(Run(), 1);
    CloseHandle(lock);
    const std::wstring text = L"Extracting files:\n" + App();
    EXPECT_EQ(ui.statuses, (std::vector<std::wstring>{text + Numbered(0), text + Numbered(4), text + Numbered(9),
                                                      L"Finishing the installation..."}));
    EXPECT_EQ(ui.progress, (std::vector<std::wstring>{L"range 12", L"1", L"5", L"10", L"10", L"11", L"11", L"0"}));
    EXPECT_EQ(GetBytes(App() + Numbered(9)), Filler(9, 20000));
  }
}

// Notes how many threads the process has when the setup is told to end.
class EndWatchingUi : public RecordingUi {
 public:
  void EndSetup() override {
    threadsAtEnd = ThreadsOfThisProcess();
    RecordingUi::EndSetup();
  }
  int threadsAtEnd = -1;
};

TEST_F(InstallTest, FailingEntryAmongWorkersIsAskedAboutInOrder) {
  const int kFiles = 30, kLocked = 12;
  const std::vector<ZipItem> items = NumberedFiles(kFiles);
  UseArchive(items);
  const struct {
    int answer;
    int workers;
    int neverWritten;  // workers stay this far ahead of the question at most
  } cases[] = {
      {IDIGNORE, 2, kFiles}, {IDRETRY, 2, kFiles}, {IDABORT, 2, kLocked + 8},
      {IDIGNORE, 8, kFiles}, {IDRETRY, 8, kFiles}, {IDABORT, 8, kFiles},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("answer " + std::to_string(c.answer) + ", workers " + std::to_string(c.workers));
    RemoveWorkFolder(App());
    CreateFolderPath(App());
    SetExtractWorkerCount(c.workers);
    const std::wstring locked = App() + Numbered(kLocked);
    PutBytes(locked, "old");
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EndWatchingUi watch;
    watch.answer = [&](int) {
      if (c.answer == IDRETRY) {
        CloseHandle(lock);
        lock = INVALID_HANDLE_VALUE;
      }
      // The workers go on while the question is open: let the next entry land first,
      // so that Abort meets entries written behind the failing one.
      for (int waited = 0; waited < 5000 && !PathExists(App() + Numbered(kLocked + 1)); waited += 10) Sleep(10);
      return c.answer;
    };
    const int threadsBefore = ThreadsOfThisProcess();
    const int result = RunInstall(in, watch);
    const int threadsAfter = ThreadsOfThisProcess();
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);

    EXPECT_EQ(watch.asks, std::vector<std::wstring>{L"Error|A file could not be extracted.\n" + Numbered(kLocked)});
    EXPECT_EQ(result, c.answer == IDABORT ? 0 : 1);
    EXPECT_EQ(watch.endSetups, c.answer == IDABORT ? 1 : 0);
    EXPECT_EQ(GetBytes(locked), c.answer == IDRETRY ? items[kLocked].data : "old");
    EXPECT_EQ(threadsAfter, threadsBefore);
    if (c.answer == IDABORT) {
      EXPECT_EQ(watch.threadsAtEnd, threadsBefore);
    }
    // Named before it was written and again for each retry.
    EXPECT_EQ(std::count(watch.statuses.begin(), watch.statuses.end(), L"Extracting files:\n" + locked),
              c.answer == IDRETRY ? 2 : 1);

    // Whatever is on disk is recorded, in archive order.
    std::vector<std::wstring> onDisk;
    for (int i = 0; i < kFiles; ++i) {
      std::wstring path = App() + Numbered(i);
      bool expected = c.answer != IDABORT || i <= kLocked + 1;
      if (i >= c.neverWritten) expected = false;
      if (expected || (i < c.neverWritten && PathExists(path))) {
        EXPECT_TRUE(PathExists(path)) << i;
        if (i != kLocked) {
          EXPECT_EQ(GetBytes(path), items[static_cast<size_t>(i)].data) << i;
        }
        if (i != kLocked || c.answer != IDABORT) onDisk.push_back(path);
      } else {
        EXPECT_FALSE(PathExists(path)) << i;
      }
    }
    EXPECT_EQ(FileRecords(GetBytes(App() + L"uninstall.dat")), onDisk);
  }
}

}  // namespace
