// The five page panels of the main window and every control on them.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <initializer_list>

#include "app/controls.h"
#include "app/editor/editor_commands.h"
#include "app/mainwindow.h"
#include "app/paths.h"
#include "common/dirlist.h"
#include "common/fonts.h"
#include "common/gui.h"

using namespace ctl;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr unsigned kReportList = kListFullRowSelect;

void BuildGeneralTab() {
  CreateFrame(kProgramInfoFrame, 8, 13, 485, 155, "Program information");
  CreateLabel(kProgramNameLabel, 18, 40, 90, 15, "Program name:");
  CreateTextField(kProgramName, 113, 38, 375, 20, "");
  CreateLabel(kProgramVersionLabel, 18, 70, 90, 15, "Program version:");
  CreateTextField(kProgramVersion, 113, 68, 375, 20, "");
  CreateLabel(kCompanyLabel, 18, 105, 90, 15, "Company name:");
  CreateTextField(kCompany, 113, 103, 375, 20, "");
  CreateLabel(kWebsiteLabel, 18, 135, 90, 15, "Website:");
  CreateTextField(kWebsite, 113, 133, 375, 20, "http://");
  CreateFrame(kSystemsFrame, 8, 178, 485, 170, "Supported Operating Systems");
  struct {
    int id, x, y, w;
    const char* text;
  } systems[] = {
      {kWin2000, 18, 203, 170, "Windows 2000"},
      {kWinXP, 208, 203, 160, "Windows XP"},
      {kWinServer2003, 18, 240, 170, "Windows Server 2003"},
      {kWinVista, 208, 240, 160, "Windows Vista"},
      {kWinServer2008, 18, 278, 170, "Windows Server 2008"},
      {kWin7, 208, 278, 160, "Windows 7"},
      {kWin8, 18, 315, 170, "Windows 8"},
  };
  for (const auto& s : systems) {
    CreateCheckBox(s.id, s.x, s.y, s.w, 20, s.text);
    SetControlState(s.id, 1);
  }
}

void BuildGraphicsTab(const BuiltinImages& images) {
  CreateLabel(kWizardImageLabel, 8, 13, 90, 20, "Wizard image:");
  CreateTextField(kWizardImage, 8, 33, 450, 20, "<main>");
  CreateButton(kWizardImageButton, 463, 33, 30, 20, "...");
  CreateLabel(kHeaderImageLabel, 8, 73, 90, 20, "Header image:");
  CreateTextField(kHeaderImage, 8, 93, 450, 20, "<main>");
  CreateButton(kHeaderImageButton, 463, 93, 30, 20, "...");
  CreateLabel(kIconImageLabel, 8, 133, 90, 20, "Install-icon image:");
  CreateTextField(kIconImage, 8, 153, 450, 20, "<main>");
  CreateButton(kIconImageButton, 463, 153, 30, 20, "...");
  CreateCheckBox(kShowLabel, 8, 188, 485, 20, "Show label");
  SetControlState(kShowLabel, 1);
  CreateImageButton(kPreviewButton, 8, 223, 100, 80, images.preview);
  SetControlToolTip(kPreviewButton, "View");
  // The wizard has one style; the choice stays in the project file but is not offered.
  CreateOption(kStyle2000, 128, 253, 365, 20, "Windows 2000 style");
  CreateOption(kStyleXP, 128, 223, 365, 20, "Windows XP style");
  SetControlState(kStyleXP, 1);
  HideControl(kStyleXP, true);
  HideControl(kStyle2000, true);
  CreateLabel(kStyleNote, 128, 283, 365, 20, "(The Windows XP style will be used in the test)");
  HideControl(kStyleNote, true);
}

void BuildLanguageTab() {
  CreateLabel(kLanguageLabel, 8, 8, 485, 20, "Select the language(s) which should be used while the installation.");
  CreateTree(kLanguages, 8, 33, 485, 230, kTreeCheckBoxes | kTreeNoLines | kTreeNoButtons);
  FillLanguageList();
  CreateButton(kImportLanguage, 8, 268, 100, 25, "Import..");
  CreateButton(kDeleteLanguage, 118, 268, 100, 25, "Delete");
  CreateLink(kMoreLanguages, 233, 273, 95, 20, "More languages..", kBlue);
}

void BuildSplashTab() {
  CreateCheckBox(kShowSplash, 8, 13, 470, 15, "Show Splash Screen dialog");
  CreateLabel(kSplashImageLabel, 8, 48, 150, 15, "Image:");
  CreateTextField(kSplashImage, 8, 68, 450, 20, "");
  CreateButton(kSplashImageButton, 463, 68, 30, 20, "...");
  CreateCheckBox(kPlaySound, 8, 108, 150, 15, "Play sound");
  CreateTextField(kSplashSound, 8, 128, 450, 20, "");
  CreateButton(kSplashSoundButton, 463, 128, 30, 20, "...");
  CreateLabel(kSplashTimeLabel, 8, 168, 150, 15, "Time(Seconds):");
  CreateTextField(kSplashTime, 8, 188, 95, 20, "2", kTextNumeric);
}

// The seven standard pictures of the editor's buttons come from the system's small
// tool-bar image list, borrowed from a tool bar that exists only for that moment.
void BuildLicenceTab() {
  CreateCheckBox(kShowLicence, 8, 13, 485, 20, "Show License Agreement dialog");
  HWND page = CurrentControlParent();
  HWND tb = page ? CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0,
                                   0, page, reinterpret_cast<HMENU>(static_cast<intptr_t>(kTempToolbar)),
                                   GetModuleHandleW(nullptr), nullptr)
                 : nullptr;
  HIMAGELIST standard = nullptr;
  if (tb) {
    SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(tb, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    standard = reinterpret_cast<HIMAGELIST>(SendMessageW(tb, TB_GETIMAGELIST, 0, 0));
  }
  struct {
    int id, x;
    int picture;
    const char* tip;
  } buttons[] = {
      {kEditorNew, 8, STD_FILENEW, "New"},        {kEditorOpen, 35, STD_FILEOPEN, "Open"},
      {kEditorSave, 62, STD_FILESAVE, "Save"},    {kEditorCut, 94, STD_CUT, "Cut"},
      {kEditorCopy, 121, STD_COPY, "Copy"},       {kEditorPaste, 148, STD_PASTE, "Paste"},
      {kEditorDelete, 175, STD_DELETE, "Delete"},
  };
  for (const auto& b : buttons) {
    HICON icon = standard ? ImageList_GetIcon(standard, b.picture, ILD_TRANSPARENT) : nullptr;
    CreateImageButton(b.id, b.x, 47, 25, 25, icon);
    SetControlToolTip(b.id, b.tip);
  }
  if (tb) DestroyWindow(tb);

  struct {
    int id, x;
    const char* text;
    const char* tip;
    unsigned font;
  } toggles[] = {
      {kEditorBold, 207, "B", "Bold", kFontBold},
      {kEditorItalic, 234, "I", "Italic", kFontItalic},
      {kEditorUnderline, 261, "U", "Underline", kFontUnderline},
  };
  for (const auto& t : toggles) {
    CreateToggleButton(t.id, t.x, 47, 25, 25, t.text);
    SetControlToolTip(t.id, t.tip);
    intptr_t f = LoadRuntimeFont(kAnyNumber, "Times New Roman", 12, t.font);
    if (f) SetControlFont(t.id, RuntimeFontHandle(static_cast<int>(f)));
  }
  CreateButton(kEditorFont, 288, 47, 25, 25, "A");
  SetControlToolTip(kEditorFont, "Font");
  intptr_t f = LoadRuntimeFont(kAnyNumber, "Times New Roman", 12, kFontHighQuality);
  if (f) SetControlFont(kEditorFont, RuntimeFontHandle(static_cast<int>(f)));

  CreateEditor(kLicenceEditor, 8, 73, 480, 320, kEditorWordWrap);
  HWND editor = ControlHandle(kLicenceEditor);
  if (editor) {
    SetEditorMargins(editor, 60);
    SendMessageW(editor, EM_AUTOURLDETECT, TRUE, 0);
    // Selection changes come as events, so that Cut, Copy and Delete follow the selection
    // whether the mouse or the keyboard made it.
    SendMessageW(editor, EM_SETEVENTMASK, 0, ENM_LINK | ENM_SELCHANGE);
  }
}

void BuildFinishTab() {
  CreateCheckBox(kRunProgram, 8, 15, 100, 15, "Run program:");
  CreateTextField(kRunProgramLine, 123, 13, 370, 20, "<installpath>\\");
  CreateCheckBox(kReboot, 8, 50, 100, 20, "Reboot computer");
  CreateCheckBox(kLoadDll, 8, 90, 100, 15, "Load DLL:");
  CreateTextField(kDllPath, 123, 88, 335, 20, "");
  CreateButton(kDllButton, 463, 88, 30, 20, "...");
  CreateButton(kEnvironmentVariables, 308, 118, 150, 22, "Environment Variables");
}

void BuildFilesTab() {
  CreateList(kFiles, 8, 38, 485, 200, "", 0, kReportList | kListMultiSelect);
  AddListColumn(kFiles, 1, "File", 300);
  AddListColumn(kFiles, 2, "Size", 100);
  AddListColumn(kFiles, 3, "Type", 80);
  CreateButton(kAddFiles, 8, 8, 85, 25, "Add Files...");
  CreateButton(kAddFolder, 103, 8, 80, 25, "Add Folder...");
  CreateButton(kRemoveFile, 193, 8, 75, 25, "Remove");
  CreateButton(kRemoveAllFiles, 283, 8, 75, 25, "Remove All");
  CreateCheckBox(kUseZip, 8, 248, 90, 20, "Use ZIP file:");
  CreateTextField(kZipPath, 103, 248, 350, 20, "");
  CreateButton(kZipButton, 463, 248, 30, 20, "...");
  CreateFrame(kInstallPathFrame, 8, 283, 485, 85, "Default Installation Path");
  CreateTextField(kInstallPath, 18, 310, 465, 20, "<programfiles>\\<company>\\<appname>\\");
  CreateCheckBox(kAllowChangePath, 18, 338, 465, 20, "Allow user to change installation path");
  SetControlState(kAllowChangePath, 1);
}

void BuildUpdaterTab() {
  CreateCheckBox(kIncludeUpdater, 8, 13, 485, 15, " Include Pellucast");
  CreateLabel(kProductNameLabel, 8, 48, 95, 20, "Product name:");
  CreateTextField(kProductName, 108, 48, 385, 20, "<appname>");
  CreateLabel(kMainAddressLabel, 8, 80, 95, 25, "Main update address:");
  CreateTextField(kMainAddress, 108, 83, 385, 20, "http://");
  CreateLabel(kAltAddress1Label, 8, 115, 95, 25, "1. Alternative update address:");
  CreateTextField(kAltAddress1, 108, 118, 385, 20, "http://");
  CreateLabel(kAltAddress2Label, 8, 150, 95, 25, "2. Alternative update address:");
  CreateTextField(kAltAddress2, 108, 153, 385, 20, "http://");
  CreateLabel(kProductVersionLabel, 8, 185, 95, 25, "Current product version:");
  CreateTextField(kProductVersion, 108, 187, 385, 20, "<appversion>");
  CreateLabel(kAnyNumber, 8, 225, 95, 20, "Language:");
  CreateCombo(kUpdaterLanguage, 108, 222, 385, 20);
  AddControlItem(kUpdaterLanguage, -1, "English");
  AddControlItem(kUpdaterLanguage, -1, "German");
  SetControlState(kUpdaterLanguage, 0);
  CreateLabel(kAnyNumber, 8, 260, 95, 20, "Program file:");
  CreateTextField(kUpdaterProgramFile, 108, 260, 385, 20, "");
  CreateCheckBox(kUpdaterRunProgram, 108, 290, 95, 20, "Run program");
  CreateCheckBox(kUpdaterTerminate, 213, 290, 115, 20, "Terminate process");
  CreateLabel(kUpdateFileNameLabel, 8, 330, 95, 20, "Update file name:");
  CreateTextField(kUpdateFileName, 108, 327, 385, 20, "Update");
  CreateLink(kUpdaterManual, 8, 370, 350, 20, "View online manual...", kBlue, kLinkUnderline);
  SetControlFrontColour(kUpdaterManual, kBlue);
}

void BuildUninstallTab() {
  CreateCheckBox(kIncludeUninstaller, 8, 13, 150, 20, "Include Uninstaller");
  CreateTextField(kUninstallerName, 168, 13, 325, 20, "Uninstall");
  CreateCheckBox(kVisitWebsite, 8, 38, 145, 20, "Visit website after Uninstall:");
  CreateTextField(kUninstallWebsite, 168, 38, 325, 20, "");
}

struct Column {
  const char* title;
  int width;
};

// The row lists of the Setup and System pages: a report list with the Add, Edit and
// Remove buttons in a row below it.
void BuildRowList(int list, int listHeight, unsigned style, std::initializer_list<Column> columns, int add, int edit,
                  int remove, int buttonTop, int buttonWidth) {
  const Column* c = columns.begin();
  CreateList(list, 8, 8, 485, listHeight, c->title, c->width, style);
  for (int i = 1; i < static_cast<int>(columns.size()); ++i) AddListColumn(list, i, c[i].title, c[i].width);
  CreateButton(add, 8, buttonTop, buttonWidth, 25, "Add...");
  CreateButton(edit, 108, buttonTop, buttonWidth, 25, "Edit...");
  CreateButton(remove, 208, buttonTop, buttonWidth, 25, "Remove");
}

void BuildVariablesTab() {
  BuildRowList(
      kVariables, 265, kReportList | kListAlwaysShowSelection,
      {{"Variable name", 100}, {"Root key", 100}, {"Sub key", 100}, {"Value name", 100}, {"Default value", 100}},
      kAddVariable, kEditVariable, kRemoveVariable, 283, 90);
}

void BuildCommandsTab() {
  BuildRowList(kCommands, 265, kReportList | kListAlwaysShowSelection,
               {{"Type", 100}, {"Program", 100}, {"Parameters", 100}, {"Options", 100}}, kAddCommand, kEditCommand,
               kRemoveCommand, 283, 90);
}

void BuildRegistryTab() {
  BuildRowList(kRegistry, 265, kReportList,
               {{"Root key", 140}, {"Sub key", 140}, {"Value name", 100}, {"Value data", 100}}, kAddRegistry,
               kEditRegistry, kRemoveRegistry, 283, 90);
}

void BuildShortcutsTab() {
  BuildRowList(kShortcuts, 210, kReportList,
               {{"Destination", 100}, {"Shortcut name", 100}, {"Target file", 120}, {"Command line arguments", 160}},
               kAddShortcut, kEditShortcut, kRemoveShortcut, 225, 95);
  CreateLabel(kStartMenuLabel, 8, 265, 185, 20, "Default path for start menu shortcuts:");
  CreateTextField(kStartMenuFolder, 198, 263, 295, 20, "<company>\\<appname>\\");
  CreateCheckBox(kAllowChangeStartMenu, 8, 288, 485, 20, "Allow user to change the start menu shortcut path");
  CreateCheckBox(kStartMenuAllUsers, 8, 308, 485, 20, "Create start menu shortcuts for all users");
  CreateCheckBox(kDesktopAllUsers, 8, 328, 485, 20, "Create desktop shortcuts for all users");
}

void BuildBuildTab(const BuiltinImages& images) {
  CreateFrame(kBuildFrame, 8, 8, 485, 395, "");
  CreateLabel(kSetupFileLabel, 18, 30, 75, 20, "Setup file:");
  CreateTextField(kSetupFile, 98, 28, 351, 20, "");
  DisableControl(kSetupFile, true);
  CreateButton(kSetupFileButton, 454, 28, 30, 20, "...");
  CreateLabel(kAnyNumber, 18, 62, 75, 20, "Compression:");
  CreateCombo(kCompression, 98, 60, 120, 20);
  AddControlItem(kCompression, -1, "No compression");
  AddControlItem(kCompression, -1, "Deflate");
  SetControlState(kCompression, 1);
  CreateImageButton(kBuildButton, 18, 93, 75, 40, images.build);
  CreateLabel(kBuildLogLabel, 18, 150, 85, 15, "Build information:");
  CreateEditor(kBuildLog, 18, 173, 465, 195, kEditorReadOnly | kEditorWordWrap);
  CreateProgress(kBuildProgress, 18, 373, 465, 17, 0, 10);
}

void OpenPanel(int number, bool visible) {
  CreatePanel(number, 175, 45, 505, 437);
  if (!visible) HideControl(number, true);
}

}  // namespace

void FillLanguageList() {
  ClearControlItems(kLanguages);
  std::vector<DirEntry> entries = ListDirectory(ProgramPath("Languages"), "*.zkl", DirOrder::kByName);
  for (const DirEntry& e : entries) {
    // The pattern also matches longer extensions on some file systems ("x.zklx").
    if (e.isFolder || e.name.size() < 4) continue;
    std::string ext = e.name.substr(e.name.size() - 4);
    if (lstrcmpiA(ext.c_str(), ".zkl") != 0) continue;
    AddControlItem(kLanguages, -1, e.name.substr(0, e.name.size() - 4));
  }
}

void BuildPages(const BuiltinImages& images) {
  OpenPanel(kPanelGeneral, true);
  OpenPanelTab(kPanelGeneral, "General");
  BuildGeneralTab();
  OpenPanelTab(kPanelGeneral, "Graphics");
  BuildGraphicsTab(images);
  OpenPanelTab(kPanelGeneral, "Language");
  BuildLanguageTab();
  ClosePanel();

  OpenPanel(kPanelDialogs, false);
  OpenPanelTab(kPanelDialogs, "Splash Screen");
  BuildSplashTab();
  OpenPanelTab(kPanelDialogs, "License");
  BuildLicenceTab();
  OpenPanelTab(kPanelDialogs, "Finish");
  BuildFinishTab();
  ClosePanel();

  OpenPanel(kPanelSetup, false);
  OpenPanelTab(kPanelSetup, "Files");
  BuildFilesTab();
  OpenPanelTab(kPanelSetup, "Pellucast");
  BuildUpdaterTab();
  OpenPanelTab(kPanelSetup, "Uninstall");
  BuildUninstallTab();
  OpenPanelTab(kPanelSetup, "Variables");
  BuildVariablesTab();
  OpenPanelTab(kPanelSetup, "Commands");
  BuildCommandsTab();
  ClosePanel();

  OpenPanel(kPanelSystem, false);
  OpenPanelTab(kPanelSystem, "Registry");
  BuildRegistryTab();
  OpenPanelTab(kPanelSystem, "Shortcuts");
  BuildShortcutsTab();
  ClosePanel();

  OpenPanel(kPanelBuild, false);
  OpenPanelTab(kPanelBuild, "Build");
  BuildBuildTab(images);
  ClosePanel();

  for (int panel : {kPanelGeneral, kPanelDialogs, kPanelSetup, kPanelSystem, kPanelBuild}) SetPanelTab(panel, 0);
}
