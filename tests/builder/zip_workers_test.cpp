// The archiver with worker threads packing files ahead of the writer: whatever the number
// of workers, the archive's bytes and the progress reports are those of one thread doing
// everything; cancel, unreadable files and the bound on memory ahead hold with workers.
// workers.zip is checked again on the Linux side by check_archives.sh.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include <minizip/zip.h>

#include "builder/test_files.h"
#include "builder/zip_archiver.h"
#include "builder/zip_workers.h"

namespace {

struct Call {
  std::string name;
  float percent;
  bool operator==(const Call& o) const { return name == o.name && percent == o.percent; }
};

std::vector<Call> g_calls;
size_t g_stopAt = 0;  // the call (from 1) that answers "stop"; 0 for none

int Record(const char* name, float percent, intptr_t) {
  g_calls.push_back({name, percent});
  return g_calls.size() == g_stopAt ? 1 : 0;
}

// Enough files that workers run well ahead of the writer, of sizes around the chunk size
// (empty, one byte, exactly one chunk, several chunks), and one file too large for the
// workers, which the writer packs itself between theirs.
std::string MakeWideTree(const std::string& root) {
  static const size_t sizes[] = {0, 1, 777, 102400, 102401, 250000, 431000, 65536, 3, 204800};
  for (int folder = 0; folder < 4; ++folder) {
    std::string dir = root + "part" + std::to_string(folder) + "\\";
    MakeFolders(dir + "inner");
    for (int i = 0; i < 10; ++i) {
      std::string name = (i % 3 == 0 ? dir + "inner\\" : dir) + "f" + std::to_string(i) + ".dat";
      PutBytes(name, MixedData(sizes[(i + folder) % 10], folder * 10 + i + 1));
    }
  }
  PutBytes(root + "part2\\large.bin", MixedData(static_cast<size_t>(kZipLargestPooledFile) + 5000, 99));
  return root;
}

struct Outcome {
  int result;
  std::string bytes;
  std::vector<Call> calls;
};

Outcome ArchiveTree(int workers, const std::string& tree, const std::string& archive) {
  SetZipWorkerCount(workers);
  g_calls.clear();
  DeleteFileA(archive.c_str());
  Outcome run;
  run.result = AddZipFolder(archive, tree + "*.*", kZipNameRelative, kZipFolderTreeEntries);
  run.bytes = GetBytes(archive);
  run.calls = g_calls;
  return run;
}

class ZipWorkersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitZipArchiver();
    SetZipProgressCallback(Record);
    g_calls.clear();
    g_stopAt = 0;
  }
  void TearDown() override {
    SetZipWorkerCount(-1);
    CloseZipArchive();
    EndZipArchiver();
  }
};

TEST_F(ZipWorkersTest, AnyNumberOfWorkersWritesTheSameArchiveAndReports) {
  static std::string tree = MakeWideTree(OutPath("workers_src\\"));
  MakeFolders(OutPath("scratch"));
  Outcome alone = ArchiveTree(0, tree, OutPath("scratch\\workers_alone.zip"));
  ASSERT_EQ(alone.result, 37);  // the files with data
  ASSERT_FALSE(alone.bytes.empty());
  // The large file is reported chunk by chunk, and the reports run through it in order.
  size_t largeCalls = 0;
  for (const Call& c : alone.calls) largeCalls += c.name == tree + "part2\\large.bin" ? 1 : 0;
  EXPECT_EQ(largeCalls, (static_cast<size_t>(kZipLargestPooledFile) + 5000 + 102399) / 102400);

  for (int workers : {1, 3, 8, -1}) {
    SCOPED_TRACE(workers);
    std::string archive = workers == 8 ? OutPath("workers.zip") : OutPath("scratch\\workers_n.zip");
    Outcome run = ArchiveTree(workers, tree, archive);
    EXPECT_EQ(run.result, alone.result);
    EXPECT_TRUE(run.bytes == alone.bytes) << "the archive differs";
    EXPECT_TRUE(run.calls == alone.calls) << "the progress reports differ";
  }
}

// The data of the first entry of an archive: after its local header, which is 30 bytes,
// the name and the extra field.
std::string FirstEntryData(const std::string& archive) {
  std::string bytes = GetBytes(archive);
  if (bytes.size() < 30) return {};
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  size_t from = 30 + le(26, 2) + le(28, 2);
  return from + le(18, 4) <= bytes.size() ? bytes.substr(from, le(18, 4)) : std::string();
}

// The file as minizip deflates it by itself at the archiver's level, fed the same chunks.
std::string MinizipsOwnData(const std::string& source, const std::string& archive) {
  std::string data = GetBytes(source);
  zipFile zf = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
  zip_fileinfo info{};
  zipOpenNewFileInZip64(zf, "x", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 0);
  for (size_t at = 0; at < data.size(); at += 102400) {
    size_t n = data.size() - at < 102400 ? data.size() - at : 102400;
    zipWriteInFileInZip(zf, data.data() + at, static_cast<unsigned>(n));
  }
  zipCloseFileInZip(zf);
  zipClose(zf, nullptr);
  return FirstEntryData(archive);
}

TEST_F(ZipWorkersTest, PackedDataIsWhatMinizipItselfWrites) {
  std::string dir = OutPath("scratch\\workers_same\\");
  MakeFolders(dir);
  std::string text;
  while (text.size() < 700000) text += "setup install folder registry " + std::to_string(text.size() % 977) + "\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"one byte", "x"},
      {"mixed, three chunks", MixedData(250000, 5)},
      {"text, seven chunks", text},
      {"noise", MixedData(4096 * 2, 6).substr(4096)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    MakeFolders(dir + "src");
    std::string source = dir + "src\\file.dat";
    ASSERT_TRUE(PutBytes(source, c.second));
    std::string expected = MinizipsOwnData(source, dir + "minizip.zip");
    ASSERT_FALSE(expected.empty());
    // Packed on the calling thread, and by a worker.
    SetZipWorkerCount(0);
    DeleteFileA((dir + "alone.zip").c_str());
    ASSERT_EQ(AddZipFile(dir + "alone.zip", source, kZipNameRelative), 1);
    EXPECT_TRUE(FirstEntryData(dir + "alone.zip") == expected);
    SetZipWorkerCount(2);
    DeleteFileA((dir + "worker.zip").c_str());
    ASSERT_EQ(AddZipFolder(dir + "worker.zip", dir + "src\\*.*", kZipNameRelative, kZipFolderFiles), 1);
    EXPECT_TRUE(FirstEntryData(dir + "worker.zip") == expected);
  }
}

struct WorkerCancelCase {
  const char* what;
  bool extend;    // the archive already has an entry
  size_t stopAt;  // progress call that answers "stop"
};

class ZipWorkersCancelTest : public ZipWorkersTest, public ::testing::WithParamInterface<WorkerCancelCase> {};

TEST_P(ZipWorkersCancelTest, CancelWhileWorkersAreAheadStopsAtOnce) {
  const WorkerCancelCase& c = GetParam();
  std::string dir = OutPath(std::string("scratch\\workers_cancel_") + c.what + "\\");
  MakeFolders(dir + "tree");
  for (int i = 0; i < 60; ++i) PutBytes(dir + "tree\\f" + std::to_string(i) + ".dat", MixedData(150000, i + 1));
  PutBytes(dir + "kept.txt", MixedData(2000, 9));
  std::string archive = dir + "cancelled.zip";
  DeleteFileA(archive.c_str());
  if (c.extend) {
    SetZipWorkerCount(0);
    ASSERT_EQ(AddZipFile(archive, dir + "kept.txt", kZipNameRelative), 1);
  }
  std::string before = GetBytes(archive);
  SetZipWorkerCount(8);
  g_calls.clear();
  g_stopAt = c.stopAt;

  EXPECT_EQ(AddZipFolder(archive, dir + "tree\\*.*", kZipNameRelative, kZipFolderTreeEntries), kZipCancelled);

  EXPECT_EQ(g_calls.size(), c.stopAt);  // nothing after the answer
  if (c.extend) {
    EXPECT_EQ(GetBytes(archive), before);
  } else {
    // Closed and whole, so the caller can read and remove it.
    EXPECT_GT(CountZipEntries(archive), 0);
    EXPECT_TRUE(DeleteFileA(archive.c_str()));
  }
}

// Each file has two chunks and an end call: 1 stops at the first chunk, 6 at the end of
// the second file, 100 far into the tree.
INSTANTIATE_TEST_SUITE_P(Cases, ZipWorkersCancelTest,
                         ::testing::Values(WorkerCancelCase{"first_chunk", false, 1},
                                           WorkerCancelCase{"end_call", false, 6}, WorkerCancelCase{"deep", false, 100},
                                           WorkerCancelCase{"extend", true, 4}),
                         [](const ::testing::TestParamInfo<WorkerCancelCase>& info) { return info.param.what; });

TEST_F(ZipWorkersTest, FileLockedByAnotherProgramIsLeftOutWithWorkersToo) {
  std::string dir = OutPath("scratch\\workers_locked\\");
  MakeFolders(dir);
  for (int i = 0; i < 6; ++i) PutBytes(dir + "f" + std::to_string(i) + ".dat", MixedData(120000, i + 20));
  HANDLE lock = CreateFileA((dir + "f2.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Outcome alone = ArchiveTree(0, dir, OutPath("scratch\\workers_locked_alone.zip"));
  Outcome workers = ArchiveTree(4, dir, OutPath("scratch\\workers_locked_4.zip"));
  CloseHandle(lock);
  EXPECT_EQ(alone.result, 5);
  EXPECT_EQ(workers.result, 5);
  EXPECT_TRUE(workers.bytes == alone.bytes);
  EXPECT_TRUE(workers.calls == alone.calls);
}

// The pool directly: how far the workers go ahead of a writer that does not take their
// files. Sizes are what the bound counts; the files themselves are small.
bool TakenWithin(DeflatePool* pool, size_t count, DWORD ms) {
  for (DWORD waited = 0;; waited += 10) {
    AcquireSRWLockExclusive(&pool->lock);
    size_t taken = pool->next;
    ReleaseSRWLockExclusive(&pool->lock);
    if (taken >= count || waited >= ms) return taken >= count;
    Sleep(10);
  }
}

size_t Taken(DeflatePool* pool) {
  Sleep(200);  // time enough for a worker that is free to go on
  AcquireSRWLockExclusive(&pool->lock);
  size_t taken = pool->next;
  ReleaseSRWLockExclusive(&pool->lock);
  return taken;
}

TEST_F(ZipWorkersTest, WorkersStayWithinTheBytesAhead) {
  std::string dir = OutPath("scratch\\workers_pool\\");
  MakeFolders(dir);
  PutBytes(dir + "small.dat", MixedData(1000, 1));
  const int64_t half = static_cast<int64_t>(kZipBytesAhead / 2);
  // Larger than the bound alone: taken all the same once nothing is ahead of it.
  const int64_t sizes[] = {half, half, half, static_cast<int64_t>(kZipBytesAhead) * 2, 1};
  DeflatePool pool;
  for (int64_t size : sizes) AddDeflateJob(&pool, dir + "small.dat", size);
  ASSERT_TRUE(StartDeflatePool(&pool, 4));

  EXPECT_TRUE(TakenWithin(&pool, 2, 5000));
  EXPECT_EQ(Taken(&pool), 2u);
  for (size_t job = 0; job < 5; ++job) {
    SCOPED_TRACE(job);
    const DeflatedFile& file = WaitDeflatedFile(&pool, job);
    EXPECT_TRUE(file.opened);
    EXPECT_EQ(file.total, 1000u);
    ReleaseDeflatedFile(&pool, job);
    // Handing back job 0 lets job 2 in; job 3 only when nothing is ahead of it, after 2.
    const size_t expected[] = {3, 3, 4, 5, 5};
    if (job < 4) {
      EXPECT_TRUE(TakenWithin(&pool, expected[job], 5000));
      EXPECT_EQ(Taken(&pool), expected[job]);
    }
  }
  StopDeflatePool(&pool);
  EXPECT_TRUE(pool.threads.empty());
}

// A tree of many small files: the workers stop at a number of files ahead, and what a
// packed small file holds while it waits is about its packed size, not a whole output step.
TEST_F(ZipWorkersTest, ManySmallFilesStayWithinTheFilesAhead) {
  std::string dir = OutPath("scratch\\workers_small\\");
  MakeFolders(dir);
  PutBytes(dir + "small.dat", MixedData(1000, 2));
  const size_t jobs = 20000;
  DeflatePool pool;
  for (size_t i = 0; i < jobs; ++i) AddDeflateJob(&pool, dir + "small.dat", 1000);
  ASSERT_TRUE(StartDeflatePool(&pool, 4));
  ASSERT_TRUE(TakenWithin(&pool, kZipFilesAhead, 20000));
  for (size_t before = 0, now = Taken(&pool); now != before; now = Taken(&pool)) before = now;
  EXPECT_EQ(Taken(&pool), kZipFilesAhead);

  size_t held = 0;
  for (size_t i = 0; i < kZipFilesAhead; ++i) held += WaitDeflatedFile(&pool, i).data.capacity();
  EXPECT_LT(held, kZipFilesAhead * 2000);

  ReleaseDeflatedFile(&pool, 0);
  EXPECT_TRUE(TakenWithin(&pool, kZipFilesAhead + 1, 5000));
  StopDeflatePool(&pool);
}

}  // namespace
