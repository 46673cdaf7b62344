// Rules of the setup's start-up that depend on nothing but their inputs.
#ifndef ZK_SETUPRUNTIME_STARTUP_RULES_H
#define ZK_SETUPRUNTIME_STARTUP_RULES_H

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "common/placeholders.h"
#include "setupruntime/resources.h"

// Fills each variable's value in list order: read(row, &text) gives the registry's text
// and true, or false when the value cannot be read. A variable that cannot be read takes
// its default, in which the name of every variable so far (itself included, whose value is
// still empty) is replaced by that variable's value.
void ResolveVariableValues(std::vector<VariableRow>* rows,
                           const std::function<bool(const VariableRow&, std::wstring*)>& read);

// The variables as name and value pairs, in list order.
std::vector<TextVariable> TextVariables(const std::vector<VariableRow>& rows);

// Resolves the folders of the settings and applies the rules between the settings: the
// check boxes of shortcuts that do not exist cannot be changed.
void ResolveSetupConfig(SetupConfig* config, const std::vector<VariableRow>& variables);

// Free space as the wizard shows it, from a whole number of megabytes: "ERROR" for 0,
// "900 MB" up to 1024 MB, "12.5 GB" above (and "12 GB" when the decimal is 0).
std::wstring FormatFreeSpace(uint64_t megabytes);

// The free space of the drive that the first three characters of folder name.
std::wstring GetFreeSpaceText(const std::wstring& folder);

#endif
