// The program files: every entry of the archive extracted into the installation folder.
// Worker threads extract ahead (install_workers.h); everything the user sees and the
// uninstall log still follow the archive's order, entry by entry, on the install thread.
#include <windows.h>

#include <map>

#include "common/failure_log.h"
#include "setupruntime/install_steps.h"
#include "setupruntime/install_workers.h"

namespace {

// How many refused names the closing message lists; the rest are summed up as "...".
constexpr size_t kListedNames = 20;

// A job's result when no worker may take it: the install thread extracts it in its turn.
constexpr int kLeftToInstallThread = -1;

struct ArchiveEntry {
  std::wstring name;
  ZipEntryPlace place;
  bool located = false;  // place holds where the entry is
  bool safe = true;
  bool shared = false;  // another entry has the same target
};

// Lets an update of the installing page through when the last one is at least the
// update interval ago, or when it must be seen whatever the time.
struct UpdateClock {
  ULONGLONG last = 0;
  bool started = false;
  bool Due(bool always) {
    ULONGLONG now = GetTickCount64();
    if (!always && started && now - last < ExtractUpdateInterval()) return false;
    started = true;
    last = now;
    return true;
  }
};

bool IsFolder(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The last component of name; a folder entry ("Data\Sub\") gives its own name.
std::wstring LastComponent(std::wstring name) {
  if (!name.empty() && name.back() == L'\\') name.pop_back();
  size_t slash = name.find_last_of(L'\\');
  return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

// The archive's entries in archive order, read once so that workers can be handed
// entries by their place. False when the directory could not be read to its end: the
// entries behind the damage would silently go missing.
bool ListEntries(ZipReader* zip, std::vector<ArchiveEntry>* list) {
  std::vector<ArchiveEntry>& entries = *list;
  std::map<std::wstring, size_t> firstOfTarget;
  int at = ZipFirstEntry(zip);
  for (; at == 0; at = ZipNextEntry(zip)) {
    ArchiveEntry e;
    e.name = ZipEntryName(zip);
    e.safe = IsSafeEntryName(e.name) != 0;
    e.located = ZipCurrentPlace(zip, &e.place) == 0;
    // Entries that write the same target (names differing in case only included) must be
    // written one after the other, in archive order, or the wrong one could end up there
    // or one could fail on the other's open file.
    std::wstring target = e.name;
    CharLowerBuffW(&target[0], static_cast<DWORD>(target.size()));
    auto found = firstOfTarget.emplace(target, entries.size());
    if (!found.second) {
      e.shared = true;
      entries[found.first->second].shared = true;
    }
    entries.push_back(e);
  }
  return at == kZipEnd;
}

int ExtractHere(InstallRun* run, ZipReader* zip, const ArchiveEntry& e) {
  if (!e.located || ZipGoToPlace(zip, e.place) != 0) return kExtractDamaged;
  return ExtractZipEntry(zip, run->folder);
}

void ShowEntry(InstallRun* run, const ArchiveEntry& e) {
  run->ui->SetStatusText(run->in->texts.installingText2 + L"\n" + run->folder + e.name);
}

// The entry's record in the uninstall log: folders are kept for the end, files written
// now. An entry that was written is what its name says; after a failure the disk tells.
void RecordEntry(InstallRun* run, const ArchiveEntry& e, bool written) {
  if (!run->logging || e.name.empty()) return;
  std::wstring path = run->folder + e.name;
  if (written ? e.name.back() == L'\\' : IsFolder(path)) {
    run->folders.push_back(path);
  } else {
    LogInstalledFile(&run->log, path);
  }
}

// On Abort the workers may already have written entries behind the one that failed;
// they stay installed like everything before it, so the uninstaller must know them.
void RecordWrittenAhead(InstallRun* run, const std::vector<ArchiveEntry>& entries, const ExtractPool& pool,
                        size_t failed) {
  for (size_t i = failed + 1; i < pool.jobs.size(); ++i) {
    const ExtractJob& job = pool.jobs[i];
    if (job.done && job.result == kExtractOk && entries[i].safe) RecordEntry(run, entries[i], true);
  }
}

void ReportRefused(InstallRun* run, const std::vector<std::wstring>& refused) {
  if (refused.empty()) return;
  for (const std::wstring& name : refused)
    ReportFailure({"refuse an archive entry", name.c_str(), 0, "outside the installation folder"});
  const SetupTexts& texts = run->in->texts;
  std::wstring text = texts.couldNotExtractFile + L"\n";
  for (size_t i = 0; i < refused.size() && i < kListedNames; ++i) text += L"\n" + refused[i];
  if (refused.size() > kListedNames) text += L"\n...";
  run->ui->ShowInfo(texts.couldNotExtractFileH, text);
}

}  // namespace

int InstallArchiveFiles(InstallRun* run, ZipReader* zip) {
  const SetupTexts& texts = run->in->texts;
  std::vector<ArchiveEntry> entries;
  if (!ListEntries(zip, &entries)) {
    ReportFailure({"list the program archive", run->in->setupPath.c_str(), 0, "directory unreadable"});
    run->ui->ShowError(texts.couldNotExtractFileH, texts.couldNotExtractFile);
    run->ui->EndSetup();
    return 0;
  }
  ExtractPool pool;
  pool.destination = run->folder;
  for (const ArchiveEntry& e : entries) {
    ExtractJob job;
    job.place = e.place;
    // Names that would land outside the installation folder are never handed out, nor
    // are entries whose place is unknown or whose target another entry shares.
    job.done = !e.safe || !e.located || e.shared;
    job.result = !e.safe ? kExtractUnsafeName : !e.located ? kExtractDamaged : kLeftToInstallThread;
    pool.jobs.push_back(job);
  }
  bool pooled = StartExtractPool(&pool, run->in->setupPath, run->in->archive, ExtractWorkerCount());

  // The user hears of refused names once, after the files, rather than once per entry.
  std::vector<std::wstring> refused;
  UpdateClock statusClock, progressClock;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ArchiveEntry& e = entries[i];
    bool last = i + 1 == entries.size();
    bool failed = false;
    if (!e.safe) {
      refused.push_back(e.name);
    } else {
      // Shown before the wait, so a large entry names itself while it is written.
      bool shown = statusClock.Due(last);
      if (shown) ShowEntry(run, e);
      int result = pooled ? WaitExtracted(&pool, i) : kLeftToInstallThread;
      if (result == kLeftToInstallThread) result = ExtractHere(run, zip, e);
      while (result != kExtractOk && !e.name.empty()) {
        failed = true;
        std::wstring target = run->folder + e.name;
        ReportFailure({"extract an archive entry", target.c_str(), 0,
                       result == kExtractCannotWrite ? "cannot write" : "damaged data"});
        if (!shown) ShowEntry(run, e);
        int answer = run->ui->AskExtractFailure(texts.couldNotExtractFileH,
                                                texts.couldNotExtractFile + L"\n" + LastComponent(e.name));
        if (answer == IDABORT) {
          StopExtractPool(&pool);
          RecordWrittenAhead(run, entries, pool, i);
          run->ui->EndSetup();
          return 0;
        }
        if (answer != IDRETRY) break;
        ShowEntry(run, e);
        shown = true;
        result = ExtractHere(run, zip, e);
      }
      RecordEntry(run, e, result == kExtractOk);
    }
    if (pooled) ReleaseExtracted(&pool, i);
    ++run->counter;
    if (progressClock.Due(last || failed)) run->ui->SetProgressValue(run->counter);
  }
  StopExtractPool(&pool);
  ReportRefused(run, refused);
  return 1;
}
