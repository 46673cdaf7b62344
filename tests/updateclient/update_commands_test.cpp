// The update commands on a scratch folder: what each one does, what the client refuses to
// touch, where a download lands, and how the releases are applied in order. The special
// folders are scratch folders too, so a refusal that failed would harm only the test's
// own files.
#include <gtest/gtest.h>

#include <windows.h>

#include <winioctl.h>

#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/folders.h"

// <windows.h> maps these names to their wide functions by macros, which would also rename
// the commands of the same names.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile

#include "updateclient/update_commands.h"

namespace {

std::wstring Scratch() { return TestFolder(L"updateclient_test"); }

// A client in "<scratch>client\" whose special folders lie in "<scratch>special\".
CommandContext ScratchContext(const std::wstring& base) {
  CommandContext context;
  context.clientFolder = base + L"client\\";
  context.clientFile = context.clientFolder + L"UpdateClient.exe";
  std::wstring special = base + L"special\\";
  context.folders.system = special + L"system";
  context.folders.windows = special + L"windows";
  context.folders.temporary = special + L"temp\\";
  context.folders.applicationData = special + L"appdata";
  context.folders.startup = special + L"startup";
  context.folders.commonStartup = special + L"commonstartup";
  context.folders.programFiles = special + L"programs";
  context.folders.fonts = special + L"fonts";
  context.folders.desktop = special + L"desktop";
  CreateDirectoryW(context.clientFolder.c_str(), nullptr);
  CreateDirectoryW(special.c_str(), nullptr);
  for (const std::wstring& folder : PlaceholderFolders(context.folders)) {
    CreateDirectoryW(folder.c_str(), nullptr);
    PutBytes(folder + (folder.back() == L'\\' ? L"" : L"\\") + L"keep.dat", "keep");
  }
  PutBytes(context.clientFile, "client");
  return context;
}

UpdateCommand Command(UpdateCommandKind kind, const std::string& first, const std::string& second = "") {
  UpdateCommand command;
  command.kind = kind;
  command.first = first;
  command.second = second;
  command.tooLong = first.size() > kLongestScriptParameter || second.size() > kLongestScriptParameter;
  return command;
}

// The client folder's fixture, made afresh for every row.
void MakeClientFiles(const std::wstring& client) {
  EmptyFolder(client);
  PutBytes(client + L"UpdateClient.exe", "client");
  PutBytes(client + L"old.txt", "old");
  PutBytes(client + L"keep.txt", "keep");
  CreateDirectoryW((client + L"sub").c_str(), nullptr);
  PutBytes(client + L"sub\\a.log", "a");
  PutBytes(client + L"sub\\b.LOG", "b");
  PutBytes(client + L"sub\\c.txt", "c");
  PutBytes(client + L"sub\\ro.log", "ro");
  SetFileAttributesW((client + L"sub\\ro.log").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryW((client + L"sub\\deeper").c_str(), nullptr);
  PutBytes(client + L"sub\\deeper\\d.log", "d");
  CreateDirectoryW((client + L"flat").c_str(), nullptr);
  PutBytes(client + L"flat\\f1.bin", "1");
  PutBytes(client + L"flat\\f2.bin", "2");
  CreateDirectoryW((client + L"tree").c_str(), nullptr);
  CreateDirectoryW((client + L"tree\\x").c_str(), nullptr);
  PutBytes(client + L"tree\\x\\y.txt", "y");
  PutBytes(client + L"tree\\ro.txt", "ro");
  SetFileAttributesW((client + L"tree\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
}

struct EffectCase {
  const char* name;
  UpdateCommand command;
  CommandOutcome outcome;
  std::vector<std::pair<std::wstring, std::string>> present;  // path below the client folder, bytes ("" for a folder)
  std::vector<std::wstring> gone;
};

TEST(UpdateCommands, EachCommandActsOnTheClientsFolder) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  const std::string longName(300, 'n');
  const UpdateCommandKind Rename = UpdateCommandKind::kRenameFile, Copy = UpdateCommandKind::kCopyFile;
  const UpdateCommandKind Delete = UpdateCommandKind::kDeleteFile, DeleteMany = UpdateCommandKind::kDeleteFiles;
  const UpdateCommandKind Create = UpdateCommandKind::kCreateDirectory,
                          DeleteTree = UpdateCommandKind::kDeleteDirectory;
  const CommandOutcome Done = CommandOutcome::Done, Failed = CommandOutcome::Failed;
  const CommandOutcome Refused = CommandOutcome::Refused;
  const EffectCase cases[] = {
      {"rename", Command(Rename, "old.txt", "new.txt"), Done, {{L"new.txt", "old"}}, {L"old.txt"}},
      {"rename into a folder",
       Command(Rename, "old.txt", "sub/moved.txt"),
       Done,
       {{L"sub\\moved.txt", "old"}},
       {L"old.txt"}},
      {"rename onto an existing file",
       Command(Rename, "old.txt", "keep.txt"),
       Failed,
       {{L"old.txt", "old"}, {L"keep.txt", "keep"}},
       {}},
      {"copy overwrites", Command(Copy, "old.txt", "keep.txt"), Done, {{L"old.txt", "old"}, {L"keep.txt", "old"}}, {}},
      {"copy of a missing file", Command(Copy, "missing.txt", "keep.txt"), Failed, {{L"keep.txt", "keep"}}, {}},
      {"delete a file", Command(Delete, "old.txt"), Done, {{L"keep.txt", "keep"}}, {L"old.txt"}},
      {"delete a missing file", Command(Delete, "missing.txt"), Failed, {}, {}},
      {"delete matching files",
       Command(DeleteMany, "sub", "*.log"),
       Done,
       {{L"sub\\c.txt", "c"}, {L"sub\\ro.log", "ro"}, {L"sub\\deeper\\d.log", "d"}},
       {L"sub\\a.log", L"sub\\b.LOG"}},
      {"delete all files keeps a folder that is not empty",
       Command(DeleteMany, "sub\\", "*.*"),
       Done,
       {{L"sub\\ro.log", "ro"}, {L"sub\\deeper\\d.log", "d"}},
       {L"sub\\a.log", L"sub\\c.txt"}},
      {"delete all files removes the emptied folder", Command(DeleteMany, "flat", "*.*"), Done, {}, {L"flat"}},
      {"an empty pattern is all files", Command(DeleteMany, "flat"), Done, {}, {L"flat"}},
      {"other patterns keep the emptied folder",
       Command(DeleteMany, "flat", "*.bin"),
       Done,
       {{L"flat", ""}},
       {L"flat\\f1.bin"}},
      {"a pattern that leaves the folder",
       Command(DeleteMany, "sub", "..\\*.txt"),
       Refused,
       {{L"old.txt", "old"}, {L"keep.txt", "keep"}},
       {}},
      {"create a folder", Command(Create, "made"), Done, {{L"made", ""}}, {}},
      {"create a folder whose parent is missing", Command(Create, "none\\made"), Failed, {}, {L"none"}},
      {"delete a tree, read-only files too", Command(DeleteTree, "tree\\"), Done, {{L"sub\\c.txt", "c"}}, {L"tree"}},
      {"delete a missing tree", Command(DeleteTree, "missing"), Failed, {}, {}},
      {"a long parameter refuses a copy", Command(Copy, "old.txt", longName), Refused, {{L"old.txt", "old"}}, {}},
      {"a long parameter refuses a folder", Command(Create, longName), Refused, {}, {}},
  };
  for (const EffectCase& c : cases) {
    MakeClientFiles(context.clientFolder);
    EXPECT_EQ(c.outcome, RunFileCommand(c.command, context)) << c.name;
    for (const auto& file : c.present) {
      std::wstring path = context.clientFolder + file.first;
      EXPECT_TRUE(PathExists(path)) << c.name;
      if (!file.second.empty()) {
        EXPECT_EQ(file.second, GetBytes(path)) << c.name;
      }
    }
    for (const std::wstring& path : c.gone) EXPECT_FALSE(PathExists(context.clientFolder + path)) << c.name;
  }
  EmptyFolder(context.clientFolder);
}

struct RefusalCase {
  const char* name;
  UpdateCommand command;
  std::wstring kept;  // a file that must still be there
};

TEST(UpdateCommands, DeletesRefuseRootsSpecialFoldersAndTheClient) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  const UpdateCommandKind Delete = UpdateCommandKind::kDeleteFile, DeleteMany = UpdateCommandKind::kDeleteFiles;
  const UpdateCommandKind DeleteTree = UpdateCommandKind::kDeleteDirectory;
  std::wstring windowsFile = context.folders.windows + L"\\keep.dat";
  std::string parent = "..";
  const RefusalCase cases[] = {
      {"empty folder", Command(DeleteTree, ""), context.clientFile},
      {"empty file", Command(Delete, ""), context.clientFile},
      {"empty folder of files", Command(DeleteMany, "", "*.*"), context.clientFile},
      {"a placeholder's folder", Command(DeleteTree, "<Windows>"), windowsFile},
      {"in other letters, with a slash", Command(DeleteTree, "<wINDOWS>\\"), windowsFile},
      {"reached through ..", Command(DeleteTree, "<Fonts>\\..\\windows"), windowsFile},
      {"the folder that holds them", Command(DeleteTree, "<Windows>\\.."), windowsFile},
      {"files of a placeholder's folder", Command(DeleteMany, "<Windows>", "*.*"), windowsFile},
      {"a placeholder's folder as a file", Command(Delete, "<Windows>"), windowsFile},
      {"the client's folder", Command(DeleteTree, "."), context.clientFile},
      {"the client's folder by its path", Command(DeleteTree, "..\\CLIENT\\"), context.clientFile},
      {"the folder above the client", Command(DeleteTree, parent), context.clientFile},
      {"the client's folder's files", Command(DeleteMany, ".", "*.exe"), context.clientFile},
      {"the client's program", Command(Delete, "updateclient.exe"), context.clientFile},
      {"a stream of a placeholder's folder", Command(DeleteTree, "<Windows>::$INDEX_ALLOCATION"), windowsFile},
      {"a placeholder's folder moved away", Command(UpdateCommandKind::kRenameFile, "<Windows>", "moved"), windowsFile},
      {"the folder above the client moved away", Command(UpdateCommandKind::kRenameFile, "..", "..\\..\\moved"),
       context.clientFile},
      {"a device path", Command(DeleteTree, "\\\\?\\" + std::string(base.begin(), base.end()) + "special\\windows"),
       windowsFile},
      {"a device path to a share", Command(DeleteTree, "\\\\?\\UNC\\zk-no-server\\share\\x"), context.clientFile},
      {"a long parameter", Command(DeleteTree, "<Windows>\\" + std::string(300, 'x')), windowsFile},
  };
  for (const RefusalCase& c : cases) {
    EXPECT_EQ(CommandOutcome::Refused, RunFileCommand(c.command, context)) << c.name;
    EXPECT_TRUE(PathExists(c.kept)) << c.name;
  }
  for (const std::wstring& folder : PlaceholderFolders(context.folders)) {
    std::string name(folder.begin(), folder.end());
    EXPECT_EQ(CommandOutcome::Refused, RunFileCommand(Command(DeleteTree, name), context)) << name;
    EXPECT_TRUE(PathExists(folder)) << name;
  }
}

TEST(UpdateCommands, DeletingInsideSpecialFoldersStaysAllowed) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  std::wstring old = context.folders.windows + L"\\old";
  CreateDirectoryW(old.c_str(), nullptr);
  PutBytes(old + L"\\a.dll", "a");
  PutBytes(context.folders.system + L"\\b.dll", "b");
  PutBytes(context.folders.temporary + L"c.tmp", "c");
  PutBytes(context.clientFolder + L"d.log", "d");
  EXPECT_EQ(CommandOutcome::Done,
            RunFileCommand(Command(UpdateCommandKind::kDeleteDirectory, "<Windows>\\old"), context));
  EXPECT_EQ(CommandOutcome::Done, RunFileCommand(Command(UpdateCommandKind::kDeleteFile, "<SYSTEM>\\b.dll"), context));
  EXPECT_EQ(CommandOutcome::Done, RunFileCommand(Command(UpdateCommandKind::kDeleteFile, "<temporary>c.tmp"), context));
  EXPECT_EQ(CommandOutcome::Done, RunFileCommand(Command(UpdateCommandKind::kDeleteFile, "d.log"), context));
  EXPECT_FALSE(PathExists(old));
  EXPECT_FALSE(PathExists(context.folders.system + L"\\b.dll"));
  EXPECT_FALSE(PathExists(context.folders.temporary + L"c.tmp"));
  EXPECT_FALSE(PathExists(context.clientFolder + L"d.log"));
  EXPECT_TRUE(PathExists(context.folders.windows + L"\\keep.dat"));
}

// Roots and the machine's own folders. Only commands that could not harm them even if the
// refusal failed: a pattern that matches nothing, a file delete of a folder.
TEST(UpdateCommands, DeletesRefuseDriveRootsSharesAndTheMachinesFolders) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  CommandContext machine = context;
  machine.folders = CurrentSpecialFolders();
  const char* const nothing = "zk-no-such-file-*.none";
  const struct {
    const char* folder;
    const CommandContext* context;
  } cases[] = {
      {"C:\\", &context},
      {"C:", &context},
      {"c:/", &context},
      {"\\", &context},
      {"\\\\zk-no-server\\share", &context},
      {"\\\\zk-no-server\\share\\", &context},
      {"<Windows>", &machine},
      {"<System>", &machine},
      {"<System>\\..\\", &machine},
      {"<ProgramFiles>", &machine},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandOutcome::Refused,
              RunFileCommand(Command(UpdateCommandKind::kDeleteFiles, c.folder, nothing), *c.context))
        << c.folder;
    EXPECT_EQ(CommandOutcome::Refused, RunFileCommand(Command(UpdateCommandKind::kDeleteFile, c.folder), *c.context))
        << c.folder;
  }
  // Inside the machine's Windows folder the same command is no refusal.
  EXPECT_NE(CommandOutcome::Refused,
            RunFileCommand(Command(UpdateCommandKind::kDeleteFiles, "<Windows>\\inf", nothing), machine));
}

// A junction (mount point) at link pointing to target; false when this system cannot
// make one.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  std::wstring substitute = L"\\??\\" + target;
  std::vector<unsigned char> buffer(8 + 8 + (substitute.size() + 1 + target.size() + 1) * sizeof(wchar_t));
  auto put16 = [&](size_t at, size_t value) {
    buffer[at] = static_cast<unsigned char>(value & 0xFF);
    buffer[at + 1] = static_cast<unsigned char>(value >> 8);
  };
  DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  memcpy(&buffer[0], &tag, 4);
  put16(4, buffer.size() - 8);                           // data length
  put16(8, 0);                                           // substitute name offset
  put16(10, substitute.size() * sizeof(wchar_t));        // substitute name length
  put16(12, (substitute.size() + 1) * sizeof(wchar_t));  // print name offset
  put16(14, target.size() * sizeof(wchar_t));            // print name length
  memcpy(&buffer[16], substitute.c_str(), substitute.size() * sizeof(wchar_t));
  memcpy(&buffer[16 + (substitute.size() + 1) * sizeof(wchar_t)], target.c_str(), target.size() * sizeof(wchar_t));
  HANDLE h = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  bool made = false;
  if (h != INVALID_HANDLE_VALUE) {
    DWORD returned = 0;
    made = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, &buffer[0], static_cast<DWORD>(buffer.size()), nullptr, 0,
                           &returned, nullptr) != 0;
    CloseHandle(h);
  }
  if (!made) RemoveDirectoryW(link.c_str());
  return made;
}

bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
  const DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY | kUnprivileged) != 0;
}

bool IsLink(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Wine 8 makes neither junctions (FSCTL_SET_REPARSE_POINT answers ERROR_NOT_SUPPORTED) nor
// symbolic links (CreateSymbolicLinkW answers success and makes nothing), but it shows a
// symbolic link of the host's file system as a reparse point. Under Wine the test makes
// such a link with the host's own tool, so the walk meets a real link there too.
std::string HostPath(const std::wstring& path) {
  typedef char*(CDECL * UnixFileName)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return std::string();
  char* name = unixName(path.c_str());
  if (name == nullptr) return std::string();
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

bool RunHostTool(const wchar_t* tool, const std::string& arguments) {
  std::wstring program = std::wstring(L"Z:\\bin\\") + tool;
  if (HostPath(L"C:\\").empty() || !PathExists(program)) return false;
  std::wstring line = std::wstring(tool) + L" " + std::wstring(arguments.begin(), arguments.end());
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Wine signals a host program's process at once, before the program has run: the test
// waits for the result instead.
bool WaitForLink(const std::wstring& link, bool present) {
  for (int i = 0; i < 100; ++i) {
    if (IsLink(link) == present) return true;
    Sleep(50);
  }
  return false;
}

bool MakeHostLink(const std::wstring& link, const std::wstring& target) {
  size_t slash = link.find_last_of(L'\\');
  std::string folder = HostPath(link.substr(0, slash));
  std::string to = HostPath(target);
  if (folder.empty() || to.empty()) return false;
  return RunHostTool(
             L"ln", "-s \"" + to + "\" \"" + folder + "/" + std::string(link.begin() + slash + 1, link.end()) + "\"") &&
         WaitForLink(link, true);
}

// A link the walk could not remove stays behind; the host's tool takes it away, so that
// the next run starts from an empty folder.
void RemoveHostLink(const std::wstring& link) {
  if (IsLink(link) && RunHostTool(L"rm", "-f \"" + HostPath(link) + "\"")) WaitForLink(link, false);
}

TEST(UpdateCommands, DeleteDirectoryNeverFollowsALink) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  std::wstring outside = base + L"outside";
  std::wstring tree = context.clientFolder + L"tree";
  std::wstring direct = context.clientFolder + L"direct";
  const struct {
    const char* kind;
    bool (*make)(const std::wstring&, const std::wstring&);
  } kinds[] = {{"junction", MakeJunction}, {"symbolic link", MakeSymbolicLink}, {"host link", MakeHostLink}};
  int made = 0;
  for (const auto& kind : kinds) {
    RemoveHostLink(tree + L"\\link");
    RemoveHostLink(direct);
    RemoveTree(outside);
    CreateDirectoryW(outside.c_str(), nullptr);
    PutBytes(outside + L"\\precious.txt", "precious");
    RemoveTree(tree);
    CreateDirectoryW(tree.c_str(), nullptr);
    PutBytes(tree + L"\\a.txt", "a");
    if (!kind.make(tree + L"\\link", outside) || !IsLink(tree + L"\\link")) continue;
    ++made;
    // A link inside the tree is removed as a link, never entered. Wine cannot remove a
    // host link to a folder that holds something: the tree then stays, with the link.
    CommandOutcome outcome = RunFileCommand(Command(UpdateCommandKind::kDeleteDirectory, "tree"), context);
    EXPECT_EQ("precious", GetBytes(outside + L"\\precious.txt")) << kind.kind;
    EXPECT_FALSE(PathExists(tree + L"\\a.txt")) << kind.kind;
    if (!IsLink(tree + L"\\link")) {
      EXPECT_EQ(CommandOutcome::Done, outcome) << kind.kind;
      EXPECT_FALSE(PathExists(tree)) << kind.kind;
    }
    RemoveHostLink(tree + L"\\link");
    // A link named as the folder itself: at most the link goes.
    ASSERT_TRUE(kind.make(direct, outside) && IsLink(direct)) << kind.kind;
    outcome = RunFileCommand(Command(UpdateCommandKind::kDeleteDirectory, "direct\\"), context);
    EXPECT_EQ("precious", GetBytes(outside + L"\\precious.txt")) << kind.kind;
    if (!IsLink(direct)) {
      EXPECT_EQ(CommandOutcome::Done, outcome) << kind.kind;
      EXPECT_FALSE(PathExists(direct)) << kind.kind;
    }
    RemoveHostLink(direct);
  }
  if (made == 0) GTEST_SKIP() << "this system makes no junctions and no symbolic links to folders";
}

TEST(UpdateCommands, CommandPathsExpandAndStartAtTheClientsFolder) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  const std::wstring& client = context.clientFolder;
  std::wstring drive = client.substr(0, 2);
  const struct {
    const char* parameter;
    std::wstring expected;
  } cases[] = {
      {"data\\a.txt", client + L"data\\a.txt"},
      {"data/a.txt", client + L"data\\a.txt"},
      {"..\\a.txt", base + L"a.txt"},
      {"<windows>\\a.dll", context.folders.windows + L"\\a.dll"},
      {"<TEMPORARY>a.tmp", context.folders.temporary + L"a.tmp"},
      {"<Other>\\a", client + L"<Other>\\a"},
      {"Q:\\dir\\a.txt", L"Q:\\dir\\a.txt"},
      {"Q:", L"Q:\\"},
      {"Q:dir", L"Q:\\dir"},
      {"\\dir\\a.txt", drive + L"\\dir\\a.txt"},
      {"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, CommandPath(c.parameter, context)) << c.parameter;
}

TEST(UpdateCommands, CommandPathsReadTheParameterInTheAnsiCodePage) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  std::string ansi = "caf\xE9.txt";
  wchar_t wide[16];
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), wide, 16);
  EXPECT_EQ(context.clientFolder + std::wstring(wide, n), CommandPath(ansi, context));
}

TEST(UpdateCommands, PlaceholdersAreTheMachinesFolders) {
  SpecialFolders folders = CurrentSpecialFolders();
  std::vector<std::wstring> all = PlaceholderFolders(folders);
  EXPECT_EQ(9u, all.size());
  for (const std::wstring& folder : all) {
    bool endsInSlash = folder.back() == L'\\';
    EXPECT_EQ(folder == folders.temporary, endsInSlash) << std::string(folder.begin(), folder.end());
  }
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(0, lstrcmpiW(windows, folders.windows.c_str()));
  EXPECT_EQ(folders.windows + L"\\x;" + folders.system + L";" + folders.system + L";<Other>",
            ExpandFolderPlaceholders(L"<wInDoWs>\\x;<System>;<SYSTEM>;<Other>", folders));
}

struct DownloadCase {
  const char* name;
  UpdateCommand command;
  bool resolved;
  std::string fileName;
  std::wstring file;  // below the client folder unless absolute
};

TEST(UpdateCommands, DownloadTargetsStayInTheirFolder) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  const UpdateCommandKind Download = UpdateCommandKind::kDownloadFile;
  std::wstring windows = context.folders.windows;
  const DownloadCase cases[] = {
      {"folder with a slash", Command(Download, "files/app.exe", "bin\\"), true, "app.exe", L"bin\\app.exe"},
      {"folder without one", Command(Download, "files/app.exe", "bin"), true, "app.exe", L"bin\\app.exe"},
      {"backslashes in the source", Command(Download, "a\\b\\c.dll", ""), true, "c.dll", L"c.dll"},
      {"placeholder in lower case", Command(Download, "c.dll", "<windows>"), true, "c.dll", windows + L"\\c.dll"},
      {"placeholders in the source stay", Command(Download, "<Windows>", "bin"), true, "<Windows>", L"bin\\<Windows>"},
      {"no name", Command(Download, "files/", "bin"), false, "", L""},
      {"empty source", Command(Download, "", "bin"), false, "", L""},
      {"a dot", Command(Download, "files/.", "bin"), false, "", L""},
      {"two dots", Command(Download, "files\\..", "bin"), false, "", L""},
      {"two dots alone", Command(Download, "..", "bin"), false, "", L""},
      {"a drive", Command(Download, "C:evil.exe", "bin"), false, "", L""},
      {"a stream", Command(Download, "files/app.exe:hidden", "bin"), false, "", L""},
      {"too long", Command(Download, std::string(300, 'a'), "bin"), false, "", L""},
      {"not a download", Command(UpdateCommandKind::kCopyFile, "a.txt", "bin"), false, "", L""},
  };
  for (const DownloadCase& c : cases) {
    DownloadTarget target;
    ASSERT_EQ(c.resolved, ResolveDownload(c.command, context, &target)) << c.name;
    if (!c.resolved) continue;
    std::wstring expected = c.file.size() > 1 && c.file[1] == L':' ? c.file : context.clientFolder + c.file;
    EXPECT_EQ(c.command.first, target.urlPath) << c.name;
    EXPECT_EQ(c.fileName, target.fileName) << c.name;
    EXPECT_EQ(expected, target.file) << c.name;
  }
}

TEST(UpdateCommands, ALowerCaseDownloadWithALowerCasePlaceholderIsExpanded) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  UpdateScript script =
      ParseUpdateScript("releases{\n1.0\n}\nrelease:1.0{\ndownloadfile: bin/app.exe, <windows>\\\n}\n");
  ASSERT_EQ(1u, script.releases.size());
  ASSERT_EQ(1u, script.releases[0].commands.size());
  DownloadTarget target;
  ASSERT_TRUE(ResolveDownload(script.releases[0].commands[0], context, &target));
  EXPECT_EQ("bin/app.exe", target.urlPath);
  EXPECT_EQ(context.folders.windows + L"\\app.exe", target.file);
}

// Writes the bytes given for each source path, records the order, and fails for the paths
// it is told to.
class FakeDownloader : public ReleaseDownloader {
 public:
  bool Download(const DownloadTarget& target) override {
    asked.push_back(target.urlPath);
    auto bytes = files.find(target.urlPath);
    if (bytes == files.end()) return false;
    return PutBytes(target.file, bytes->second);
  }
  std::map<std::string, std::string> files;
  std::vector<std::string> asked;
};

const char kTwoReleases[] =
    "releases {\n"
    "1.0\n1.1\n1.2\n"
    "}\n"
    "release: 1.1 {\n"
    "DownloadFile: v11/app.txt, bin\\\n"
    "CreateDirectory: data\n"
    "CopyFile: bin\\app.txt, data\\from11.txt\n"
    "}\n"
    "release: 1.2 {\n"
    "DeleteFile: not-there.txt\n"
    "DeleteDirectory: <Windows>\n"
    "DownloadFile: v12/app.txt, bin\n"
    "RenameFile: data\\from11.txt, data\\renamed.txt\n"
    "}\n";

TEST(UpdateCommands, ReleasesApplyInOrder) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  CreateDirectoryW((context.clientFolder + L"bin").c_str(), nullptr);
  UpdateScript script = ParseUpdateScript(kTwoReleases);
  ReleaseSelection selection = SelectPendingReleases(script, "1.0");
  FakeDownloader downloader;
  downloader.files = {{"v11/app.txt", "app 1.1"}, {"v12/app.txt", "app 1.2"}};
  ApplyResult result = ApplyReleases(script, selection.pending, context, downloader);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ("1.2", result.lastCompletedRelease);
  EXPECT_EQ(std::vector<std::string>({"v11/app.txt", "v12/app.txt"}), downloader.asked);
  EXPECT_EQ("app 1.2", GetBytes(context.clientFolder + L"bin\\app.txt"));
  // The copy saw 1.1's file, and the commands that failed or were refused did not stop 1.2.
  EXPECT_EQ("app 1.1", GetBytes(context.clientFolder + L"data\\renamed.txt"));
  EXPECT_TRUE(PathExists(context.folders.windows + L"\\keep.dat"));
}

TEST(UpdateCommands, AFailedDownloadStopsAtOnce) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  CreateDirectoryW((context.clientFolder + L"bin").c_str(), nullptr);
  UpdateScript script = ParseUpdateScript(kTwoReleases);
  FakeDownloader downloader;
  downloader.files = {{"v11/app.txt", "app 1.1"}};
  ApplyResult result = ApplyReleases(script, SelectPendingReleases(script, "1.0").pending, context, downloader);
  EXPECT_FALSE(result.completed);
  EXPECT_EQ("1.1", result.lastCompletedRelease);
  EXPECT_EQ("app 1.1", GetBytes(context.clientFolder + L"bin\\app.txt"));
  EXPECT_TRUE(PathExists(context.clientFolder + L"data\\from11.txt"));
  EXPECT_FALSE(PathExists(context.clientFolder + L"data\\renamed.txt"));
}

TEST(UpdateCommands, ARefusedDownloadStopsBeforeAnythingElse) {
  std::wstring base = Scratch();
  CommandContext context = ScratchContext(base);
  UpdateScript script = ParseUpdateScript(
      "releases{\n1.0\n1.1\n1.2\n}\n"
      "release:1.1{\nDownloadFile: files/.., bin\nCreateDirectory: after\n}\n"
      "release:1.2{\nCreateDirectory: later\n}\n");
  FakeDownloader downloader;
  ApplyResult result = ApplyReleases(script, SelectPendingReleases(script, "1.0").pending, context, downloader);
  EXPECT_FALSE(result.completed);
  EXPECT_EQ("", result.lastCompletedRelease);
  EXPECT_TRUE(downloader.asked.empty());
  EXPECT_FALSE(PathExists(context.clientFolder + L"after"));
  EXPECT_FALSE(PathExists(context.clientFolder + L"later"));
}

}  // namespace
