// Text of a new GUID in its braced registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// for names that no other run or machine uses. Empty when no GUID could be made.
#ifndef ZK_COMMON_GUID_TEXT_H
#define ZK_COMMON_GUID_TEXT_H

#include <string>

std::wstring NewGuidText();
// The same text in single bytes (it is ASCII whatever the code page).
std::string NewGuidTextAnsi();

#endif
