#include "platform/registry/reg_text_writer.hpp"

#include <cstdio>

#include "platform/text/unicode.hpp"

namespace vantorel::reg {

namespace {

// Byte lists wrap before this column, as regedit's do.
constexpr std::size_t kLineWidth = 80;

void appendQuoted(std::string& out, std::u16string_view text) {
  out.push_back('"');
  for (char c : toUtf8(text)) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
}

void appendHexBytes(std::string& out, std::size_t lineStart,
                    const std::vector<std::uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < data.size(); ++i) {
    bool last = i + 1 == data.size();
    // Room for "xx," and a trailing "\".
    if (out.size() - lineStart + (last ? 2 : 3) > kLineWidth - 1) {
      out += "\\\n  ";
      lineStart = out.size() - 2;
    }
    out.push_back(kDigits[data[i] >> 4]);
    out.push_back(kDigits[data[i] & 0xF]);
    if (!last) out.push_back(',');
  }
}

void appendValue(std::string& out, const RegValue& value) {
  std::size_t lineStart = out.size();
  if (value.name.empty()) {
    out.push_back('@');
  } else {
    appendQuoted(out, value.name);
  }
  out.push_back('=');
  if (value.type == kRegSz) {
    if (auto text = plainStringOf(value.data)) {
      appendQuoted(out, *text);
      out.push_back('\n');
      return;
    }
  }
  if (value.type == kRegDword && value.data.size() == 4) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(dwordOf(value.data)));
    out += buffer;
    out.push_back('\n');
    return;
  }
  if (value.type == kRegBinary) {
    out += "hex:";
  } else {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(value.type));
    out += buffer;
  }
  appendHexBytes(out, lineStart, value.data);
  out.push_back('\n');
}

void appendKey(std::string& out, const RegKey& key, const std::u16string& path) {
  if (!key.values().empty() || key.childCount() == 0) {
    out += "[" + toUtf8(path) + "]\n";
    for (const auto& value : key.values()) appendValue(out, value);
    out.push_back('\n');
  }
  for (std::size_t i = 0; i < key.childCount(); ++i) {
    const RegKey& child = key.child(i);
    appendKey(out, child, path + u"\\" + child.name());
  }
}

}  // namespace

std::string formatRegText(const RegKey& root, std::u16string_view rootName) {
  std::string out = "Windows Registry Editor Version 5.00\n\n";
  // An empty hive needs no section of its own.
  if (!root.values().empty()) {
    out += "[" + toUtf8(rootName) + "]\n";
    for (const auto& value : root.values()) appendValue(out, value);
    out.push_back('\n');
  }
  for (std::size_t i = 0; i < root.childCount(); ++i) {
    const RegKey& child = root.child(i);
    appendKey(out, child, std::u16string(rootName) + u"\\" + child.name());
  }
  return out;
}

}  // namespace vantorel::reg
