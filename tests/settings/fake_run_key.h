// Both Run keys of a user in memory; either may refuse every change, as the
// machine-wide one does for a standard user.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/ports.h"

namespace fakes {

struct FakeRunKey : platform::RunKey {
  std::map<platform::RunScope, std::map<std::string, std::string>> values;
  std::set<platform::RunScope> refused;
  bool SetString(platform::RunScope scope, const std::string& name, const std::string& data) override {
    if (refused.count(scope)) return false;
    values[scope][name] = data;
    return true;
  }
  bool MaySetValues(platform::RunScope scope) override { return refused.count(scope) == 0; }
  bool DeleteValue(platform::RunScope scope, const std::string& name) override {
    if (!refused.count(scope)) values[scope].erase(name);
    return values[scope].count(name) == 0;
  }
  // Names switched off in Task Manager, whether their value is there or not.
  std::map<platform::RunScope, std::set<std::string>> off;
  bool SwitchedOff(platform::RunScope scope, const std::string& name) override {
    return values[scope].count(name) != 0 && off[scope].count(name) != 0;
  }
  bool DeleteSwitch(platform::RunScope scope, const std::string& name) override {
    if (!refused.count(scope)) off[scope].erase(name);
    return off[scope].count(name) == 0;
  }
};

}  // namespace fakes
