#include "platform/sys/folders.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::sys {

namespace {

std::u16string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? fromUtf8(value) : std::u16string{};
}

// A usable base folder is absolute (the XDG rule: relative values are ignored) and is not the
// root itself, so nothing is ever written straight into "/".
bool isUsableBase(std::u16string_view folder) {
  if (folder.empty() || !fs::isSeparator(folder[0])) return false;
  for (char16_t c : folder) {
    if (!fs::isSeparator(c)) return true;
  }
  return false;
}

std::u16string home() {
  const std::u16string value = variable("HOME");
  return isUsableBase(value) ? fs::normalizeSeparators(value) : std::u16string{};
}

std::u16string accountHome() {
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found ||
      !found->pw_dir) {
    return {};
  }
  return fromUtf8(found->pw_dir);
}

}  // namespace

std::u16string homeFolder() {
  const std::u16string value = home();
  if (!value.empty()) return value;
  const std::u16string account = accountHome();
  return isUsableBase(account) ? fs::normalizeSeparators(account) : std::u16string{};
}

std::u16string documentsFolder() {
  std::u16string documents = variable("XDG_DOCUMENTS_DIR");
  // user-dirs.dirs spells it "$HOME/Documents"; a value copied from there may still say so.
  constexpr std::u16string_view kHomePrefix = u"$HOME";
  if (documents.starts_with(kHomePrefix) &&
      (documents.size() == kHomePrefix.size() || fs::isSeparator(documents[kHomePrefix.size()]))) {
    const std::u16string base = home();
    documents = base.empty() ? std::u16string{} : base + documents.substr(kHomePrefix.size());
  }
  if (isUsableBase(documents)) return fs::normalizeSeparators(documents);
  const std::u16string base = home();
  return base.empty() ? std::u16string{} : fs::joinPath(base, u"Documents");
}

std::u16string programFolder() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
  return fs::parentFolder(fromUtf8(std::string_view(buffer, static_cast<std::size_t>(n))));
}

std::u16string dataFolder() {
  const std::u16string configured = variable("VANTOREL_DATA_DIR");
  if (!configured.empty()) return fs::normalizeSeparators(configured);
  const std::u16string program = programFolder();
  if (!program.empty()) {
    const std::u16string prefix = fs::parentFolder(program);
    if (!prefix.empty()) {
      const std::u16string installed = fs::joinPath(prefix, u"share/vantorel");
      if (fs::fileExists(fs::joinPath(installed, u"machine.reg"))) return installed;
    }
  }
  return fromUtf8(VANTOREL_DATA_DIR);
}

void publishDataFolder() {
  if (std::getenv("VANTOREL_DATA")) return;
  setenv("VANTOREL_DATA", toUtf8(dataFolder()).c_str(), 0);
}

std::u16string configuredUserHome() {
  const std::u16string configured = variable("VANTOREL_HOME");
  return configured.empty() ? configured : fs::normalizeSeparators(configured);
}

std::u16string userConfigFolder() {
  const std::u16string configured = variable("VANTOREL_HOME");
  if (!configured.empty()) return fs::normalizeSeparators(configured);
  const std::u16string xdg = variable("XDG_CONFIG_HOME");
  if (isUsableBase(xdg)) return fs::joinPath(xdg, u"vantorel");
  // Here a HOME of "/" still gives a folder below it; only a missing HOME falls back to the
  // account's home, so that settings never land in whatever the working folder happens to be.
  std::u16string base = variable("HOME");
  if (base.empty() || !fs::isSeparator(base[0])) base = accountHome();
  return base.empty() ? std::u16string{} : fs::joinPath(base, u".config/vantorel");
}

}  // namespace vantorel::sys
