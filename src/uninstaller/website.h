// The product's web site, opened in the default browser when the uninstallation is done.
#ifndef ZK_UNINSTALLER_WEBSITE_H
#define ZK_UNINSTALLER_WEBSITE_H

#include <string>

// The address to open for the web-site line of the log: the line itself for an "http://"
// or "https://" address, "http://" + the line for a plain host and path such as
// "example.com/thanks". Empty for anything else (a blank, a quote or a backslash inside,
// or another scheme such as "file:" or "mailto:"): the line comes from a file in the
// installation folder, and the uninstaller, possibly running with administrator rights,
// must not start a program or open a document named there.
std::wstring WebsiteAddress(const std::wstring& line);
// Opens the address with its associated program; nothing for an empty address.
void OpenWebsite(const std::wstring& line);

#endif
