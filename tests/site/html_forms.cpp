#include "site/html_forms.hpp"

#include <regex>

#include "platform/text/unicode.hpp"

namespace vantorel::test::site {

namespace {

// The value of an attribute of a start tag; empty when it has none.
std::string attribute(const std::string& tag, const std::string& name) {
  const std::regex pattern("\\s" + name + "=\"([^\"]*)\"");
  std::smatch m;
  return std::regex_search(tag, m, pattern) ? htmlDecode(m[1].str()) : std::string();
}

bool hasFlag(const std::string& tag, const std::string& name) {
  return std::regex_search(tag, std::regex("\\s" + name + "[\\s>]"));
}

}  // namespace

std::string htmlDecode(const std::string& html) {
  std::string out;
  for (std::size_t i = 0; i < html.size();) {
    const std::size_t end = html[i] == '&' ? html.find(';', i) : std::string::npos;
    if (end == std::string::npos || end - i > 10) {
      out += html[i++];
      continue;
    }
    const std::string name = html.substr(i + 1, end - i - 1);
    if (name == "amp")
      out += '&';
    else if (name == "lt")
      out += '<';
    else if (name == "gt")
      out += '>';
    else if (name == "quot")
      out += '"';
    else if (name == "apos")
      out += '\'';
    else if (name.size() > 1 && name[0] == '#') {
      appendUtf8(out, static_cast<char32_t>(name[1] == 'x' ? std::stoul(name.substr(2), nullptr, 16)
                                                           : std::stoul(name.substr(1))));
    } else {
      out += html.substr(i, end - i + 1);
    }
    i = end + 1;
  }
  return out;
}

asp::FormFields formAsSent(const std::string& html, const std::string& marker) {
  asp::FormFields fields;
  const std::size_t start = html.find(marker);
  if (start == std::string::npos) return fields;
  const std::size_t end = html.find("</form>", start);
  const std::string form = html.substr(start, end - start);
  const std::regex control("<(input|select|textarea)\\b[^>]*>");
  for (auto it = std::sregex_iterator(form.begin(), form.end(), control);
       it != std::sregex_iterator(); ++it) {
    const std::string tag = (*it)[0].str();
    const std::string kind = (*it)[1].str();
    const std::string name = attribute(tag, "name");
    if (name.empty()) continue;
    const std::size_t after = static_cast<std::size_t>(it->position(0) + it->length(0));
    if (kind == "input") {
      const std::string type = attribute(tag, "type");
      if (type == "submit" || type == "file") continue;
      if ((type == "checkbox" || type == "radio") && !hasFlag(tag, "checked")) continue;
      fields.emplace_back(name, attribute(tag, "value"));
    } else if (kind == "textarea") {
      std::string text = form.substr(after, form.find("</textarea>", after) - after);
      // A browser drops a line break right after the start tag.
      if (text.rfind("\r\n", 0) == 0)
        text.erase(0, 2);
      else if (text.rfind('\n', 0) == 0)
        text.erase(0, 1);
      fields.emplace_back(name, htmlDecode(text));
    } else {
      const std::string options = form.substr(after, form.find("</select>", after) - after);
      const std::regex option("<option\\b[^>]*>");
      std::string value;
      bool first = true;
      for (auto o = std::sregex_iterator(options.begin(), options.end(), option);
           o != std::sregex_iterator(); ++o) {
        const std::string optionTag = (*o)[0].str();
        if (first || hasFlag(optionTag, "selected")) value = attribute(optionTag, "value");
        first = false;
        if (hasFlag(optionTag, "selected")) break;
      }
      fields.emplace_back(name, value);
    }
  }
  return fields;
}

}  // namespace vantorel::test::site
