#include "platform/data/access_error.hpp"

#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {

void raiseAccessError(AccessFailure failure, std::u16string description,
                      std::string_view libraryMessages) {
  const std::u16string messages(trimBlanks(fromUtf8(libraryMessages)));
  if (!messages.empty()) description += u"\r\n" + replaceAll(messages, u"\n", u"\r\n");
  throw AutomationError(static_cast<std::int32_t>(failure), u"libmdb", std::move(description));
}

}  // namespace vantorel::data::access
