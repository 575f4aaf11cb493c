#pragma once
// What the model tests share: a clean menu list and phrase tables per test, a record of the
// calls that reach the extension seam, and short text forms of menus and phrases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/extension_cascade.hpp"

namespace vantorel::test {

// Records every call of the extension seam as "op:args" while installed.
class CascadeLog final : public ExtensionCascade {
 public:
  CascadeLog() : previous_(Installed<ExtensionCascade>::install(this)) {}
  ~CascadeLog() override { Installed<ExtensionCascade>::install(previous_); }

  std::vector<std::u16string> calls;

  void renameTable(std::u16string_view o, std::u16string_view n) override;
  void deleteTable(std::u16string_view name) override;
  void renameChart(std::u16string_view t, std::u16string_view o, std::u16string_view n) override;
  void deleteChart(std::u16string_view t, std::u16string_view c) override;
  void renameField(std::u16string_view t, std::u16string_view o, std::u16string_view n) override;
  void deleteField(std::u16string_view t, std::u16string_view f) override;
  bool changeCustomScripts(std::u16string_view o, std::u16string_view n) override;

 private:
  ExtensionCascade* previous_;
};

// Empties the shared menus and phrase tables, and installs a cascade log.
class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  CascadeLog ext;
};

// Adds a shown menu entry; custom marks a free URL.
void addMenu(const std::u16string& type, const std::u16string& url, bool custom = false);
// The menu list as "Type:Url:shown" entries joined by ",", shown being 1 or 0.
std::u16string menuText();
// Every table, chart and field phrase as "T:table.attr=phrase", "C:table|chart.attr=phrase",
// "F:table.field.attr=phrase", in table order, joined by ",".
std::u16string phraseText();
// Removes a key of the user's registry store with its values, if it exists.
void clearUserKey(const std::u16string& key);
std::u16string joined(const std::vector<std::u16string>& parts);

}  // namespace vantorel::test
