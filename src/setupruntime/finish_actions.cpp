#include "setupruntime/finish_actions.h"

#include "common/gui.h"
#include "common/placeholders.h"
#include "common/scoped.h"
#include "model/setup_files.h"
#include "setupruntime/program_start.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/startup_rules.h"
#include "setupruntime/wizard.h"

namespace {

const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return nullptr;
  return nt;
}

bool InExecutableSection(const IMAGE_NT_HEADERS* nt, DWORD rva) {
  const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++s) {
    DWORD size = s->Misc.VirtualSize ? s->Misc.VirtualSize : s->SizeOfRawData;
    if (rva >= s->VirtualAddress && rva - s->VirtualAddress < size)
      return (s->Characteristics & IMAGE_SCN_MEM_EXECUTE) != 0;
  }
  return false;
}

void CallLibrary(const std::wstring& path) {
  ScopedModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!module) return;
  for (const std::string& name : CodeExports(module.get())) {
    FARPROC f = GetProcAddress(module.get(), name.c_str());
    if (f) reinterpret_cast<void (*)()>(reinterpret_cast<void*>(f))();
  }
}

void RebootComputer() {
  ScopedHandle token;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
    TOKEN_PRIVILEGES tp = {};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid))
      AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr);
    token.reset();
  }
  ExitWindowsEx(EWX_REBOOT, 0);
}

void RunProgram() {
  const RuntimeState& r = Runtime();
  std::wstring folder = GetControlTextW(kInstallFolderField);
  if (folder.empty() || folder.back() != L'\\') folder += L"\\";
  SetupProduct product{r.config.appName, r.config.version, r.config.company, r.config.website1};
  std::wstring program = SubstitutePlaceholders(r.config.programRun, folder, product, TextVariables(r.variables));
  StartProgram(program, L"", FolderPart(program), 0);
}

}  // namespace

std::vector<std::string> CodeExports(HMODULE module) {
  std::vector<std::string> names;
  const IMAGE_NT_HEADERS* nt = module ? NtHeaders(module) : nullptr;
  if (!nt) return names;
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (dir.VirtualAddress == 0 || dir.Size == 0) return names;
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
  const IMAGE_EXPORT_DIRECTORY* e = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const DWORD* nameRvas = reinterpret_cast<const DWORD*>(base + e->AddressOfNames);
  const WORD* ordinals = reinterpret_cast<const WORD*>(base + e->AddressOfNameOrdinals);
  const DWORD* functions = reinterpret_cast<const DWORD*>(base + e->AddressOfFunctions);
  for (DWORD i = 0; i < e->NumberOfNames; ++i) {
    WORD ordinal = ordinals[i];
    if (ordinal >= e->NumberOfFunctions) continue;
    DWORD rva = functions[ordinal];
    bool forwarded = rva >= dir.VirtualAddress && rva - dir.VirtualAddress < dir.Size;
    if (rva == 0 || forwarded || !InExecutableSection(nt, rva)) continue;
    names.push_back(reinterpret_cast<const char*>(base + nameRvas[i]));
  }
  return names;
}

void RunFinishActions() {
  const RuntimeState& r = Runtime();
  if (!r.config.dll.empty()) CallLibrary(r.workFolder + setup_files::kLibrary.wide);
  bool checked = GetControlState(kFinishCheckBox) == 1;
  if (r.config.addition == 1 && checked) RebootComputer();
  if (r.config.addition == 2 && checked) RunProgram();
  ShowRuntimeWindow(kWizardWindow, false);
  ExitSetup(0);
}
