// The uninstaller cannot delete its own file while it runs, so it leaves that, and the
// removal of the installation folder, to a batch file that waits for the program to end.
#ifndef ZK_UNINSTALLER_DELETE_SELF_H
#define ZK_UNINSTALLER_DELETE_SELF_H

#include <string>
#include <vector>

// The lines of the batch file: it deletes programPath as soon as it can, then removes
// installFolder when that is empty by then (no such line for an empty folder text), then
// deletes itself (batchPath). A "%" in a path is doubled, as cmd.exe would otherwise
// expand it.
std::vector<std::wstring> DeleteSelfBatchLines(const std::wstring& programPath, const std::wstring& batchPath,
                                               const std::wstring& installFolder);
// The bytes of a batch file of lines (CR LF after each) for a cmd.exe that reads batch
// files in oemCodePage: in that code page when every character has its own place there,
// else in UTF-8 after a first line that switches cmd.exe to it.
std::string BatchFileBytes(const std::vector<std::wstring>& lines, unsigned oemCodePage);
// Writes the batch file into the temporary folder under a new GUID name and starts it
// hidden. true when it was started.
bool DeleteSelf(const std::wstring& installFolder);

#endif
