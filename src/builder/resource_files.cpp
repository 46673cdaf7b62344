#include "builder/resource_files.h"

#include <windows.h>

#include <stdint.h>
#include <stdio.h>

#include "common/whole_file.h"
#include "builder/zip_archiver.h"
#include "common/files.h"
#include "common/images.h"
#include "common/linefile.h"
#include "common/prefs.h"
#include "common/text.h"
#include "model/setup_files.h"

namespace {

const char kMainImage[] = "<main>";

// The size the setup's uninstaller adds to an installation.
const float kUninstallerSize = 112640.0f;

// The checked languages, by name, in list order; positions outside the list are dropped.
std::vector<std::string> CheckedLanguages(const BuildInput& in) {
  std::vector<std::string> names;
  for (int position : in.project.checkedLanguages) {
    if (position >= 0 && static_cast<size_t>(position) < in.languageNames.size())
      names.push_back(in.languageNames[static_cast<size_t>(position)]);
  }
  return names;
}

bool HoldsLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool AnyHoldsLineBreak(std::initializer_list<const std::string*> texts) {
  for (const std::string* t : texts) {
    if (HoldsLineBreak(*t)) return true;
  }
  return false;
}

std::string RowError(const char* table, size_t index) {
  return std::string(table) + " row " + std::to_string(index + 1) + ": a text holds a line break.";
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

bool IsDllIncluded(const SetupProject& p) { return p.loadDll != 0 && FileSize(p.dllPath) >= 0; }

std::string InstallDirValue(const SetupProject& p) {
  if (p.companyName.empty() && p.installPath == "<programfiles>\\<company>\\<appname>\\")
    return "<programfiles>\\<appname>\\";
  return p.installPath;
}

std::string ShortcutFolderValue(const SetupProject& p) {
  if (p.companyName.empty() && p.startMenuFolder == "<company>\\<appname>\\") return "<appname>";
  return p.startMenuFolder;
}

std::string UninstallerNameValue(const SetupProject& p) {
  return p.uninstallerName.empty() ? std::string("Uninstall") : p.uninstallerName;
}

std::string WebsiteValue(const SetupProject& p) { return ReplaceAll(p.uninstallWebsite, "<website>", p.website); }

bool HasShortcut(const SetupProject& p, const char* destination) {
  for (const ShortcutEntry& s : p.shortcuts) {
    if (s.destination == destination) return true;
  }
  return false;
}

// The installation size the setup shows: the uncompressed sizes of the archive's entries
// (plus the uninstaller), in the largest unit that keeps the number at least 1.
std::string TotalSizeText(const BuildInput& in) {
  std::string archive = in.archivePath;
  if (archive.empty() && in.project.useZip) archive = in.project.zipFile;
  float sum = 0.0f;
  if (!archive.empty() && OpenZipArchive(archive) != nullptr) {
    ZipEntryInfo info;
    for (int r = GoToFirstZipEntry(); r == 0; r = GoToNextZipEntry()) {
      // The full 64-bit size: an entry past 2 GB must not count as a negative one.
      if (GetZipEntryInfo(&info) == 0) sum += static_cast<float>(info.uncompressedSize);
    }
    CloseZipArchive();
  }
  if (in.project.includeUninstaller) sum += kUninstallerSize;

  const char* units[] = {"Byte", "KB", "MB", "GB"};
  int unit = 0;
  while (unit < 3 && sum >= 1024.0f) {
    sum /= 1024.0f;
    ++unit;
  }
  char text[400];
  snprintf(text, sizeof text, "%.10f", static_cast<double>(sum));
  std::string ten = text;
  snprintf(text, sizeof text, ten.back() == '0' ? "%.0f" : "%.1f", static_cast<double>(sum));
  return std::string(text) + " " + units[unit];
}

// One record of a line file: its text lines, then an optional raw 32-bit integer.
struct LineRecord {
  std::vector<std::string> lines;  // ANSI, without line breaks
  bool hasInt = false;
  int32_t value = 0;
};

bool WriteLineFile(const std::string& path, const std::vector<LineRecord>& records) {
  return WriteReplacing(path, "zkr", [&](const std::string& temp) {
    int number = static_cast<int>(LineFileCreate(kAnyNumber, temp));
    if (number == 0) return false;
    bool ok = true;
    for (const LineRecord& r : records) {
      for (const std::string& line : r.lines) ok = ok && LineFileWriteLine(number, line) == 1;
      if (r.hasInt) ok = ok && LineFileWriteInt32(number, r.value) == 1;
    }
    return LineFileClose(number) == 1 && ok;
  });
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  return WriteReplacing(path, "zkr", [&](const std::string& temp) {
    int number = static_cast<int>(FileCreate(kAnyNumber, temp));
    if (number == 0) return false;
    bool ok = bytes.empty() || FileWriteBytes(number, bytes.data(), bytes.size()) == 1;
    return FileClose(number) == 1 && ok;
  });
}

// A copy that can be deleted afterwards whatever the source's attributes.
bool CopyInto(const std::string& source, const std::string& target) {
  return WriteReplacing(target, "zkr", [&](const std::string& temp) {
    return CopyFileA(source.c_str(), temp.c_str(), FALSE) && SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
  });
}

// Whether the program's own image decoders take the file, as the preview does.
bool IsDecodableImage(const std::string& path) {
  if (FileSize(path) <= 0) return false;
  // Bounded only by what memory can hold; a file that cannot be read whole decodes as nothing.
  std::string data;
  ReadWholeFile(path, UINT64_MAX, &data);
  bool isIcon = false;
  int width = 0, height = 0;
  HANDLE image = DecodeImage(data.data(), data.size(), &isIcon, &width, &height);
  if (image == nullptr) return false;
  if (isIcon)
    DestroyIcon(static_cast<HICON>(image));
  else
    DeleteObject(image);
  return true;
}

// The setting keys whose values are texts, for the line-break check before anything is
// written; the preference writer would refuse such a value only halfway through SC.dat.
std::string SettingsError(const SetupProject& p) {
  const std::pair<const char*, std::string> texts[] = {
      {sc_keys::kAppName, p.programName},
      {sc_keys::kVersion, p.programVersion},
      {sc_keys::kInstallDir, InstallDirValue(p)},
      {sc_keys::kProgramRun, p.programLine},
      {sc_keys::kShortcutFolder, ShortcutFolderValue(p)},
      {sc_keys::kUninstallerFilename, UninstallerNameValue(p)},
      {sc_keys::kWebsite, WebsiteValue(p)},
      {sc_keys::kSplashTime, p.splashTime},
      {sc_keys::kCompany, p.companyName},
      {sc_keys::kWebsite1, p.website},
  };
  for (const auto& t : texts) {
    if (HoldsLineBreak(t.second)) return std::string("Setting ") + t.first + ": a text holds a line break.";
  }
  return std::string();
}

// Every text that goes into a file is checked first, so a refused build writes nothing.
std::string LineBreakError(const BuildInput& in) {
  const SetupProject& p = in.project;
  std::string error = SettingsError(p);
  if (!error.empty()) return error;
  for (int position : p.checkedLanguages) {
    if (position >= 0 && static_cast<size_t>(position) < in.languageNames.size() &&
        HoldsLineBreak(in.languageNames[static_cast<size_t>(position)]))
      return RowError("Language", static_cast<size_t>(position));
  }
  for (size_t i = 0; i < p.shortcuts.size(); ++i) {
    const ShortcutEntry& s = p.shortcuts[i];
    if ((s.destination == "Desktop" || s.destination == "Startmenu") &&
        AnyHoldsLineBreak({&s.target, &s.name, &s.arguments}))
      return RowError("Shortcut", i);
  }
  for (size_t i = 0; i < p.registry.size(); ++i) {
    const RegistryEntry& r = p.registry[i];
    if (AnyHoldsLineBreak({&r.rootKey, &r.subKey, &r.valueName, &r.valueData})) return RowError("Registry", i);
  }
  for (size_t i = 0; i < p.variables.size(); ++i) {
    const VariableEntry& v = p.variables[i];
    if (AnyHoldsLineBreak({&v.name, &v.rootKey, &v.subKey, &v.valueName, &v.defaultValue}))
      return RowError("Variable", i);
  }
  for (size_t i = 0; i < p.commands.size(); ++i) {
    const CommandEntry& c = p.commands[i];
    if (AnyHoldsLineBreak({&c.type, &c.program, &c.parameters, &c.options})) return RowError("Command", i);
  }
  return std::string();
}

// SC.dat and OS.dat go through the preference writer, which keeps a file's bytes as they are
// when it has no byte-order mark; the texts are turned into UTF-8 here because the setup
// runtime reads them as UTF-8.
bool WriteSettingsFile(const BuildInput& in, const std::string& path, const ResourceFilesResult& r) {
  const SetupProject& p = in.project;
  bool ok = CreatePreferences(path) != 0;
  // A new file has no groups yet: the answer is 0 and the first write makes the group.
  PreferenceGroup(sc_keys::kGroup);
  auto text = [&](const char* key, const std::string& value) {
    ok = ok && WritePreferenceString(key, AnsiToUtf8(value)) == 1;
  };
  auto number = [&](const char* key, int value) { ok = ok && WritePreferenceLong(key, value) == 1; };

  text(sc_keys::kAppName, p.programName);
  text(sc_keys::kVersion, p.programVersion);
  number(sc_keys::kLicence, p.showLicence);
  number(sc_keys::kChangeApplicationFolder, p.allowChangePath);
  number(sc_keys::kChangeStartMenuFolder, p.allowChangeStartMenu);
  if (r.desktopIconFlag == 1) number(sc_keys::kDesktopIcon, 1);
  number(sc_keys::kAllowDesktopIcons, 1);
  number(sc_keys::kAllowStartMenuFolder, 1);
  number(sc_keys::kLabel, p.showLabel);
  text(sc_keys::kInstallDir, InstallDirValue(p));
  number(sc_keys::kStartMenuFolder, HasShortcut(p, "Startmenu") ? 1 : 0);
  if (!p.registry.empty()) number(sc_keys::kRegistry, 1);
  number(sc_keys::kAddition, r.additionValue);
  text(sc_keys::kProgramRun, p.programLine);
  number(sc_keys::kLanguages, r.checkedLanguageCount);
  text(sc_keys::kShortcutFolder, ShortcutFolderValue(p));
  if (IsDllIncluded(p)) text(sc_keys::kDll, "dll");
  number(sc_keys::kUninstaller, p.includeUninstaller);
  text(sc_keys::kUninstallerFilename, UninstallerNameValue(p));
  number(sc_keys::kUninstallerVisitWebsite, p.visitWebsite);
  text(sc_keys::kWebsite, WebsiteValue(p));
  number(sc_keys::kSplashScreen, p.showSplash);
  text(sc_keys::kSplashTime, p.splashTime);
  text(sc_keys::kCompany, p.companyName);
  text(sc_keys::kTotalSize, TotalSizeText(in));
  text(sc_keys::kWebsite1, p.website);
  number(sc_keys::kStartMenuForAllUsers, p.startMenuAllUsers);
  number(sc_keys::kDesktopForAllUsers, p.desktopAllUsers);
  // Closed in every case, so no half-made file stays with this thread.
  return ClosePreferences() == 1 && ok;
}

bool WriteSystemsFile(const SetupProject& p, const std::string& path) {
  bool ok = CreatePreferences(path) != 0;
  const std::pair<const char*, int> systems[] = {
      {os_keys::kWindows2000, p.win2000},
      {os_keys::kWindowsXP, p.winXP},
      {os_keys::kWindowsServer2003, p.winServer2003},
      {os_keys::kWindowsVista, p.winVista},
      {os_keys::kWindowsServer2008, p.winServer2008},
      {os_keys::kWindows7, p.win7},
      {os_keys::kWindows8, p.win8},
  };
  for (const auto& s : systems) ok = ok && WritePreferenceLong(s.first, s.second) == 1;
  return ClosePreferences() == 1 && ok;
}

std::vector<LineRecord> ShortcutRecords(const SetupProject& p, const char* destination) {
  std::vector<LineRecord> records;
  for (const ShortcutEntry& s : p.shortcuts) {
    if (s.destination == destination) records.push_back({{s.target, s.name, s.arguments}});
  }
  return records;
}

std::string CannotCreate(const std::string& name) {
  return "Error: Could not create setup resource file " + name + ".";
}

// The wizard image, header image and install icon: the project field, the copy's name in
// the resource folder and the name in the cabinet.
struct ImageSlot {
  const std::string SetupProject::*field;
  const char* copy;
  const char* cabinetName;
};

const ImageSlot kImages[] = {
    {&SetupProject::wizardImage, "1.jpg", setup_files::kWizardImage.narrow},
    {&SetupProject::headerImage, "2.jpg", setup_files::kHeaderImage.narrow},
    {&SetupProject::iconImage, "3.jpg", setup_files::kIcon.narrow},
};

const char* const kResourceFiles[] = {setup_files::kSettings.narrow,         setup_files::kLanguages.narrow,
                                      setup_files::kDesktopShortcuts.narrow, setup_files::kStartMenuShortcuts.narrow,
                                      setup_files::kRegistry.narrow,         setup_files::kSystems.narrow,
                                      setup_files::kVariables.narrow,        setup_files::kCommands.narrow};

}  // namespace

int WriteResourceFiles(const BuildInput& in, const std::string& folder, ResourceFilesResult* result,
                       std::string* error) {
  const SetupProject& p = in.project;
  std::string message = LineBreakError(in);
  if (!message.empty()) {
    if (error) *error = message;
    return 0;
  }

  std::vector<std::string> languages = CheckedLanguages(in);
  ResourceFilesResult r;
  r.desktopIconFlag = HasShortcut(p, "Desktop") ? 1 : 0;
  if (p.runProgram) r.additionValue = 2;
  if (p.reboot) r.additionValue = 1;
  r.checkedLanguageCount = languages.empty() ? 1 : static_cast<int>(languages.size());
  if (result) *result = r;

  std::vector<LineRecord> languageRecords, registryRecords, variableRecords, commandRecords;
  for (const std::string& name : languages) languageRecords.push_back({{name}});
  for (const RegistryEntry& e : p.registry)
    registryRecords.push_back({{e.rootKey, e.subKey, e.valueName, e.valueData}, true, e.removeFlag});
  for (const VariableEntry& e : p.variables)
    variableRecords.push_back({{e.name, e.rootKey, e.subKey, e.valueName, e.defaultValue}});
  for (const CommandEntry& e : p.commands) commandRecords.push_back({{e.type, e.program, e.parameters, e.options}});

  const std::pair<const char*, std::vector<LineRecord>> lineFiles[] = {
      {setup_files::kLanguages.narrow, languageRecords},
      {setup_files::kDesktopShortcuts.narrow, ShortcutRecords(p, "Desktop")},
      {setup_files::kStartMenuShortcuts.narrow, ShortcutRecords(p, "Startmenu")},
      {setup_files::kRegistry.narrow, registryRecords},
      {setup_files::kVariables.narrow, variableRecords},
      {setup_files::kCommands.narrow, commandRecords},
  };

  auto fail = [&](const std::string& line) {
    if (error) *error = line;
    return 0;
  };

  if (!WriteSettingsFile(in, folder + setup_files::kSettings.narrow, r))
    return fail(CannotCreate(setup_files::kSettings.narrow));
  for (const auto& f : lineFiles) {
    if (!WriteLineFile(folder + f.first, f.second)) return fail(CannotCreate(f.first));
  }
  if (!WriteSystemsFile(p, folder + setup_files::kSystems.narrow))
    return fail(CannotCreate(setup_files::kSystems.narrow));

  // A language file that does not travel would leave the setup without its texts.
  if (languages.empty()) {
    if (!CopyInto(in.programFolder + "default.zkl", folder + "default.zkl"))
      return fail("Error: Could not copy language file " + in.programFolder + "default.zkl.");
  }
  for (size_t i = 0; i < languages.size(); ++i) {
    std::string source = in.programFolder + "Languages\\" + languages[i] + ".zkl";
    bool ok = CopyInto(source, folder + languages[i] + ".zkl");
    if (ok && languages.size() == 1) ok = CopyInto(source, folder + setup_files::kDefaultLanguage.narrow);
    if (!ok) return fail("Error: Could not copy language file " + source + ".");
  }

  // An image the decoders cannot read stays out without a word; the setup then shows its
  // own picture. A copy left over from an earlier run must not travel in its place.
  for (const ImageSlot& image : kImages) {
    const std::string& source = p.*image.field;
    std::string copy = folder + image.copy;
    DeleteFileA(copy.c_str());
    if (source != kMainImage && IsDecodableImage(source) && !CopyInto(source, copy))
      return fail("Error: Could not copy image file " + source + ".");
  }

  if (p.showSplash) {
    if (FileSize(p.splashImage) <= 0 || !CopyInto(p.splashImage, folder + setup_files::kSplashImage.narrow))
      return fail("Error: Splash Screen image file does not exist!");
    if (p.playSound &&
        (FileSize(p.splashSound) <= 0 || !CopyInto(p.splashSound, folder + setup_files::kSplashSound.narrow)))
      return fail("Error: Splash Screen sound file does not exist!");
  }

  if (!WriteWholeFile(folder + "doc.rtf", p.licenceRtf)) return fail(CannotCreate("doc.rtf"));
  return 1;
}

std::vector<std::pair<std::string, std::string>> CabinetEntries(const BuildInput& in, const std::string& folder) {
  const SetupProject& p = in.project;
  std::vector<std::pair<std::string, std::string>> entries;
  for (const char* name : kResourceFiles) entries.push_back({folder + name, name});

  std::vector<std::string> languages = CheckedLanguages(in);
  if (languages.empty()) entries.push_back({folder + "default.zkl", "default.zkl"});
  if (languages.size() == 1)
    entries.push_back({folder + setup_files::kDefaultLanguage.narrow, setup_files::kDefaultLanguage.narrow});
  for (const std::string& name : languages) entries.push_back({folder + name + ".zkl", name + ".zkl"});

  for (const ImageSlot& image : kImages) {
    if (p.*image.field != kMainImage && FileSize(folder + image.copy) > 0)
      entries.push_back({folder + image.copy, image.cabinetName});
  }
  if (p.showSplash) {
    entries.push_back({folder + setup_files::kSplashImage.narrow, setup_files::kSplashImage.narrow});
    if (p.playSound) entries.push_back({folder + setup_files::kSplashSound.narrow, setup_files::kSplashSound.narrow});
  }
  entries.push_back({folder + "doc.rtf", setup_files::kLicence.narrow});
  if (IsDllIncluded(p)) entries.push_back({p.dllPath, setup_files::kLibrary.narrow});

  // Empty files stay out, as the cabinet itself would leave them; the setup reads a missing
  // line file as one without records.
  std::vector<std::pair<std::string, std::string>> kept;
  for (const auto& e : entries) {
    if (FileSize(e.first) != 0) kept.push_back(e);
  }
  return kept;
}
