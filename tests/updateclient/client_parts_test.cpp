// The client's own file, its run guard, the version it rebuilds itself with, and the
// product's program among the running processes.
#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "model/updater_block.h"
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/waits.h"
#include "updateclient/client_file.h"
#include "updateclient/finish.h"
#include "updateclient/run_client.h"
#include "updateclient/running_programs.h"

namespace {

UpdaterSettingsBlock SampleBlock() {
  UpdaterSettingsBlock b;
  b.version = "1.0";
  b.mainAddress = "http://127.0.0.1:8080/a/";
  b.language = 1;
  b.productName = "Demo";
  b.programFile = "demo.exe";
  b.windowTitle = "Demo Update";
  b.runFlag = 1;
  return b;
}

// A stand-in client file: an "image" of `imageSize` bytes, then a block.
std::string FakeClient(size_t imageSize, const UpdaterSettingsBlock& block) {
  std::string image(imageSize, '\0');
  for (size_t i = 0; i < imageSize; ++i) image[i] = static_cast<char>(i * 7);
  return image + EncodeUpdaterSettingsBlock(block);
}

TEST(ClientFile, ReadsTheBlockBehindTheImage) {
  TempFolder dir("zkclient");
  std::wstring file = dir.widePath + L"client.exe";
  ASSERT_TRUE(PutBytes(file, FakeClient(4096, SampleBlock())));
  UpdaterSettingsBlock read;
  ASSERT_TRUE(ReadUpdaterSettings(file, 4096, &read));
  EXPECT_TRUE(read == SampleBlock());
  // A client without a whole block behind its image reads as empty settings.
  ASSERT_TRUE(PutBytes(file, std::string(4096, 'x') + "1.0\r\nhttp://a/"));
  EXPECT_FALSE(ReadUpdaterSettings(file, 4096, &read));
  EXPECT_TRUE(read == UpdaterSettingsBlock());
  EXPECT_FALSE(ReadUpdaterSettings(dir.widePath + L"missing.exe", 4096, &read));
}

TEST(ClientFile, RebuiltFileKeepsTheImageAndCarriesTheNewBlock) {
  TempFolder dir("zkclient");
  std::wstring file = dir.widePath + L"client.exe";
  std::string original = FakeClient(3000, SampleBlock());
  ASSERT_TRUE(PutBytes(file, original));
  UpdaterSettingsBlock next = SampleBlock();
  next.version = "1.2";
  std::wstring target = dir.widePath + L"rebuilt.exe";
  ASSERT_TRUE(PutBytes(target, std::string(10000, 'o')));  // no old tail may stay
  ASSERT_TRUE(WriteClientFile(file, 3000, next, target));
  EXPECT_EQ(GetBytes(target), original.substr(0, 3000) + EncodeUpdaterSettingsBlock(next));
  // A text with a line break cannot be written: no file is left.
  next.productName = "two\r\nlines";
  std::wstring refused = dir.widePath + L"refused.exe";
  EXPECT_FALSE(WriteClientFile(file, 3000, next, refused));
  EXPECT_FALSE(PathExists(refused));
  // An image larger than the file is no client.
  EXPECT_FALSE(WriteClientFile(file, 1u << 20, SampleBlock(), refused));
  EXPECT_FALSE(PathExists(refused));
}

TEST(ClientFile, TheCopyTakesTheOldClientsPlaceOnlyByPlainName) {
  struct Case {
    const wchar_t* name;
    bool moves;
  } cases[] = {
      {L"client.exe", true},
      {L"", false},
      {L"..", false},
      {L".", false},
      {L"sub\\client.exe", false},
      {L"../client.exe", false},
      {L"C:client.exe", false},
  };
  for (const Case& c : cases) {
    TempFolder dir("zkclient");
    std::wstring old = dir.widePath + L"client.exe";
    std::wstring copy = dir.widePath + L"qdcopy.exe";
    ASSERT_TRUE(PutBytes(old, "old"));
    ASSERT_TRUE(PutBytes(copy, "new"));
    EXPECT_EQ(TakeOldClientsPlace(copy, c.name, 200), c.moves) << std::wstring(c.name).size();
    EXPECT_EQ(GetBytes(old), c.moves ? "new" : "old");
    // Either way the copy is gone: moved into place, or removed.
    EXPECT_FALSE(PathExists(copy));
  }
}

TEST(ClientFile, AnOldClientThatStaysInUseIsKept) {
  TempFolder dir("zkclient");
  std::wstring old = dir.widePath + L"client.exe";
  std::wstring copy = dir.widePath + L"qdcopy.exe";
  ASSERT_TRUE(PutBytes(old, "old"));
  ASSERT_TRUE(PutBytes(copy, "new"));
  // Open without delete sharing, as a running program's image is: it cannot be replaced.
  HANDLE busy = CreateFileW(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  DWORD start = GetTickCount();
  EXPECT_FALSE(TakeOldClientsPlace(copy, L"client.exe", 300));
  EXPECT_GE(GetTickCount() - start, 250u);  // it waited
  CloseHandle(busy);
  EXPECT_EQ(GetBytes(old), "old");
  EXPECT_FALSE(PathExists(copy));
}

TEST(RunGuard, LetsTheClientRunOnlyOnTheExactArgument) {
  struct Case {
    const char* guard;
    const wchar_t* argument;
    bool runs;
  } cases[] = {
      {"", L"", true},        {"", L"/anything", true},      {"secret", L"secret", true}, {"secret", L"Secret", false},
      {"secret", L"", false}, {"secret", L"secret ", false},
  };
  for (const Case& c : cases) EXPECT_EQ(RunGuardAllows(c.guard, c.argument), c.runs) << c.guard;
}

TEST(Finish, RebuildsWithWhatWasAppliedWhole) {
  struct Case {
    int wizardState;
    const char* lastCompleted;
    const char* expected;
  } cases[] = {
      {kWizardApplied, "1.1", "1.2"},  // the whole update: the newest release
      {kWizardStopped, "1.1", "1.1"},  // cancelled or failed after 1.1 was applied
      {kWizardStopped, "", ""},        // nothing applied whole: no rebuild
      {kWizardReady, "", ""},          // cancelled before the download
      {kWizardSearching, "", ""},
  };
  for (const Case& c : cases) {
    ClientState state;
    state.newestVersion = "1.2";
    state.wizardState = c.wizardState;
    state.lastCompletedRelease = c.lastCompleted;
    EXPECT_EQ(VersionToRebuildWith(state), c.expected) << c.wizardState;
  }
}

TEST(RunningPrograms, ResolvesTheProgramFileAgainstTheClientsFolder) {
  EXPECT_EQ(ResolveProgramFile("", L"C:\\App\\"), L"");
  EXPECT_EQ(ResolveProgramFile("demo.exe", L"C:\\App\\"), L"C:\\App\\demo.exe");
  EXPECT_EQ(ResolveProgramFile("bin\\..\\demo.exe", L"C:\\App\\"), L"C:\\App\\demo.exe");
  EXPECT_EQ(ResolveProgramFile("D:\\Other\\demo.exe", L"C:\\App\\"), L"D:\\Other\\demo.exe");
}

// The product runs from one folder, a program of the same name from another: only the
// product is ended, and its window is asked to close first (it ends with its own code).
TEST(RunningPrograms, EndsOnlyTheProductsOwnProcess) {
  TempFolder dir("zkclient");
  CreateDirectoryW((dir.widePath + L"app").c_str(), nullptr);
  CreateDirectoryW((dir.widePath + L"other").c_str(), nullptr);
  std::wstring fixture = FullFolder(L".") + L"driver_fixture.exe";
  std::wstring product = dir.widePath + L"app\\demo.exe";
  std::wstring namesake = dir.widePath + L"other\\demo.exe";
  ASSERT_TRUE(CopyFileW(fixture.c_str(), product.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(fixture.c_str(), namesake.c_str(), FALSE));
  PROCESS_INFORMATION pi[2]{};
  for (int i = 0; i < 2; ++i) {
    std::wstring path = i == 0 ? product : namesake;
    std::wstring line = L"\"" + path + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    ASSERT_TRUE(CreateProcessW(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi[i]));
    WaitForInputIdle(pi[i].hProcess, 10000);
  }
  std::wstring resolved = ResolveProgramFile("demo.exe", dir.widePath + L"app\\");
  EXPECT_TRUE(WaitFor([&] { return IsProgramRunning(resolved); }, 10000));
  EndRunningProgram(resolved);
  EXPECT_EQ(WaitForSingleObject(pi[0].hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(pi[0].hProcess, &code);
  EXPECT_EQ(code, 0u);  // closed through its window, not terminated
  EXPECT_FALSE(IsProgramRunning(resolved));
  EXPECT_EQ(WaitForSingleObject(pi[1].hProcess, 0), WAIT_TIMEOUT);
  TerminateProcess(pi[1].hProcess, 0);
  WaitForSingleObject(pi[1].hProcess, 10000);
  for (PROCESS_INFORMATION& p : pi) {
    CloseHandle(p.hThread);
    CloseHandle(p.hProcess);
  }
}

}  // namespace
