// Placeholders in the author's texts (paths, shortcut data, registry data, commands),
// resolved by the setup on the target machine, and the author's variables after them.
#ifndef ZK_COMMON_PLACEHOLDERS_H
#define ZK_COMMON_PLACEHOLDERS_H

#include <string>
#include <vector>

// What the setup knows about its product (SC.dat).
struct SetupProduct {
  std::wstring appName;  // "Appname": <appname>
  std::wstring version;  // "Version": <programversion>
  std::wstring company;  // "Company": <company>
  std::wstring website;  // "Website1": <website>
};

// One of the author's variables: every occurrence of name (exactly as written, case
// and all) becomes value.
struct TextVariable {
  std::wstring name;
  std::wstring value;
};

// Replaces the placeholders, in this order and without regard to case: <appname>,
// <programversion>, <company>, <website>, <language>, <username>, <organisation>
// (the ZK_ environment variables as they are now), the folders <system>, <windows>,
// <temp>, <programfiles>, <startup>, <startuppublic>, <documents>, <documentspublic>,
// <startmenuprograms>, <startmenuprogramspublic>, <font>, <desktop>, <desktoppublic>,
// <appdata>, <appdatapublic>, and <installpath> (installFolder without its trailing
// backslash); then every variable, in list order, by SubstituteVariables.
//
// Folder values end with a backslash, so a backslash written right after a folder
// placeholder ("<programfiles>\App") is dropped: the result has one, not two. Each value
// is looked up when its placeholder is found, on every call.
std::wstring SubstitutePlaceholders(const std::wstring& text, const std::wstring& installFolder,
                                    const SetupProduct& product, const std::vector<TextVariable>& variables);

// Every variable in list order: each occurrence of its name becomes its value. Variables
// with an empty name are skipped.
std::wstring SubstituteVariables(const std::wstring& text, const std::vector<TextVariable>& variables);

// Every occurrence of from in text replaced by to, compared exactly; an empty from
// changes nothing.
std::wstring ReplaceExact(const std::wstring& text, const std::wstring& from, const std::wstring& to);

// The folders behind the folder placeholders, each with one trailing backslash, or ""
// when the system has none.
std::wstring GetSystemFolder();                               // <system>
std::wstring GetEnvironmentFolder(const std::wstring& name);  // <windows>, <temp>, <programfiles>
std::wstring GetSpecialFolder(int csidl);                     // <startup> ... <appdatapublic>

#endif
