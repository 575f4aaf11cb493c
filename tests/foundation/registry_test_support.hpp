#pragma once
// A private registry for one test: the user's and the machine's stores in a fresh folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant.hpp"
#include "support/scoped_env.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {

class RegistryTest : public ::testing::Test {
 protected:
  std::filesystem::path userFile() const { return dir_.path() / "home" / "registry.reg"; }
  std::filesystem::path classesFile() const { return dir_.path() / "home" / "classes.reg"; }
  std::filesystem::path machineFile() const { return dir_.path() / "data" / "machine.reg"; }

  // A store file holding the given sections and values below the header.
  static void spillStore(const std::filesystem::path& path, const std::string& body) {
    test::writeFile(path, "Windows Registry Editor Version 5.00\n\n" + body);
  }

  TempDir dir_;
  ScopedEnv home_{"VANTOREL_HOME", (dir_.path() / "home").string()};
  ScopedEnv data_{"VANTOREL_DATA_DIR", (dir_.path() / "data").string()};
};

inline Variant byteArray(std::vector<int> bytes) {
  std::vector<Variant> values;
  for (int b : bytes) values.emplace_back(static_cast<std::uint8_t>(b));
  return Variant(SafeArray::fromValues(std::move(values), VarType::Byte));
}

// Type and content in one comparable text: "8:abc", "3:42", "8209:0,1,255".
inline std::string show(const Variant& v) {
  std::string out = std::to_string(v.varType()) + ":";
  switch (v.type()) {
    case VarType::Empty:
      break;
    case VarType::Integer:
      out += std::to_string(v.integerValue());
      break;
    case VarType::Long:
      out += std::to_string(v.longValue());
      break;
    case VarType::String:
      for (char16_t c : v.stringValue()) {
        if (c >= 0x20 && c < 0x7F) {
          out.push_back(static_cast<char>(c));
        } else {
          out += "\\u" + std::to_string(static_cast<int>(c));
        }
      }
      break;
    case VarType::Array: {
      const SafeArray& array = v.arrayValue();
      out += "[" + std::to_string(array.bound(1).lower) + "]";
      for (const Variant& e : array.elements()) out += std::to_string(e.byteValue()) + ",";
      break;
    }
    default:
      out += "?";
  }
  return out;
}

}  // namespace vantorel::test
