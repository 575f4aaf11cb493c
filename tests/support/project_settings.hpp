#pragma once
// Every setting of a saved project file by the object it belongs to, for comparing two project
// files setting by setting: "Project", "Database", "Table T", "Field T.F", "Chart T.C",
// "Menu TYPE URL", and other elements by their name and place.
#include <cstddef>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace vantorel::test {

using ObjectSettings = std::map<std::string, std::string>;
using ProjectSettings = std::map<std::string, ObjectSettings>;

inline ProjectSettings readProjectSettings(const std::string& file) {
  ProjectSettings out;
  static const std::regex element("<([A-Za-z]+)((?:\\s+[A-Za-z0-9_]+=\"[^\"]*\")*)\\s*/?>");
  static const std::regex attribute("([A-Za-z0-9_]+)=\"([^\"]*)\"");
  std::string table;
  std::map<std::string, std::size_t> seen;
  for (std::sregex_iterator it(file.begin(), file.end(), element), end; it != end; ++it) {
    const std::string kind = (*it)[1];
    ObjectSettings settings;
    const std::string attributes = (*it)[2];
    for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
      settings[(*a)[1]] = (*a)[2];
    }
    std::string owner;
    if (kind == "Project" || kind == "Database") {
      owner = kind;
    } else if (kind == "Table") {
      table = settings["TblName"];
      owner = "Table " + table;
    } else if (kind == "Field") {
      owner = "Field " + table + "." + settings["FldName"];
    } else if (kind == "Chart") {
      owner = "Chart " + table + "." + settings["ChartName"];
    } else if (kind == "Menu") {
      owner = "Menu " + settings["MenuType"] + " " + settings["MenuUrl"];
    } else {
      owner = kind + " " + std::to_string(seen[kind]++);
    }
    out[owner] = std::move(settings);
  }
  return out;
}

// One line for each setting that differs ("Field T.F FldSize: 40 -> 80"), and one for each
// object only one side has, leaving out the settings named in `ignored`.
inline std::vector<std::string> settingDifferences(const ProjectSettings& from,
                                                   const ProjectSettings& to,
                                                   const std::set<std::string>& ignored) {
  std::vector<std::string> out;
  std::set<std::string> owners;
  for (const auto& [owner, _] : from) owners.insert(owner);
  for (const auto& [owner, _] : to) owners.insert(owner);
  for (const std::string& owner : owners) {
    const auto a = from.find(owner);
    const auto b = to.find(owner);
    if (a == from.end() || b == to.end()) {
      out.push_back(owner + (a == from.end() ? " only after" : " only before"));
      continue;
    }
    std::set<std::string> names;
    for (const auto& [name, _] : a->second) names.insert(name);
    for (const auto& [name, _] : b->second) names.insert(name);
    for (const std::string& name : names) {
      if (ignored.count(name)) continue;
      const auto x = a->second.find(name);
      const auto y = b->second.find(name);
      const std::string before = x == a->second.end() ? "(none)" : x->second;
      const std::string after = y == b->second.end() ? "(none)" : y->second;
      if (before != after) out.push_back(owner + " " + name + ": " + before + " -> " + after);
    }
  }
  return out;
}

}  // namespace vantorel::test
