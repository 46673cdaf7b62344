// Environment variables of the test process, which the programs it starts inherit.
#ifndef ZK_TESTS_SUPPORT_ENVIRONMENT_H
#define ZK_TESTS_SUPPORT_ENVIRONMENT_H

#include <string>

// The value of a variable; "" when it is not set.
std::string Env(const char* name);
std::wstring Env(const wchar_t* name);

// Sets a variable (removes it for a null value) until the record goes, then puts back
// what was there before, set or not.
class ScopedEnv {
 public:
  ScopedEnv(const wchar_t* name, const wchar_t* value);
  ScopedEnv(const std::wstring& name, const std::wstring& value) : ScopedEnv(name.c_str(), value.c_str()) {}
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::wstring name_;
  bool had_ = false;
  std::wstring old_;
};

#endif
