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

bool matches(const std::string& value, const char* pattern) {
  return std::regex_match(value, std::regex(pattern));
}

// A datetime-local value as a browser holds it: "T" between day and time, the shortest time
// (no seconds when they are nought, no trailing zeros of a fraction).
std::string normalizedLocalDateTime(const std::string& value) {
  std::smatch m;
  if (!std::regex_match(
          value, m,
          std::regex(
              "(\\d{4,}-\\d\\d-\\d\\d)[T ](\\d\\d:\\d\\d)(?::(\\d\\d)(?:\\.(\\d{1,3}))?)?"))) {
    return "";
  }
  std::string seconds = m[3].str();
  std::string fraction = m[4].str();
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string out = m[1].str() + "T" + m[2].str();
  if (!fraction.empty()) return out + ":" + seconds + "." + fraction;
  if (!seconds.empty() && seconds != "00") out += ":" + seconds;
  return out;
}

// An input's value as a browser sanitizes it before it is sent: line breaks leave one-line
// boxes, and a value that is no value of a number, date or time input is sent empty.
std::string sanitized(const std::string& type, std::string value) {
  if (type == "number") {
    return matches(value, "-?(\\d+(\\.\\d+)?|\\.\\d+)([eE][-+]?\\d+)?") ? value : "";
  }
  if (type == "date") return matches(value, "\\d{4,}-\\d\\d-\\d\\d") ? value : "";
  if (type == "time") return matches(value, "\\d\\d:\\d\\d(:\\d\\d(\\.\\d{1,3})?)?") ? value : "";
  if (type == "datetime-local") return normalizedLocalDateTime(value);
  if (type == "hidden") return value;
  std::erase(value, '\n');
  std::erase(value, '\r');
  return value;
}

// A text area's text as a form sends it: every line break as CR LF.
std::string withCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Why a browser would refuse to send the control's value; empty when it sends it.
std::string constraintProblem(const std::string& tag, const std::string& type,
                              const std::string& name, const std::string& value) {
  if (hasFlag(tag, "required") && value.empty()) return name + ": required but empty";
  if (value.empty()) return "";
  const std::string pattern = attribute(tag, "pattern");
  if (!pattern.empty() && !std::regex_match(value, std::regex(pattern))) {
    return name + ": \"" + value + "\" does not match " + pattern;
  }
  if (type == "number") {
    const std::string min = attribute(tag, "min");
    const std::string max = attribute(tag, "max");
    const double v = std::stod(value);
    if ((!min.empty() && v < std::stod(min)) || (!max.empty() && v > std::stod(max))) {
      return name + ": " + value + " out of " + min + ".." + max;
    }
  }
  return "";
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
  std::vector<std::string> problems;
  return formAsSent(html, marker, problems);
}

asp::FormFields formAsSent(const std::string& html, const std::string& marker,
                           std::vector<std::string>& problems) {
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
      const std::string value = type == "checkbox" || type == "radio"
                                    ? attribute(tag, "value")
                                    : sanitized(type, attribute(tag, "value"));
      const std::string problem = constraintProblem(tag, type, name, value);
      if (!problem.empty()) problems.push_back(problem);
      fields.emplace_back(name, value);
    } else if (kind == "textarea") {
      std::string text = form.substr(after, form.find("</textarea>", after) - after);
      // A browser drops a line break right after the start tag.
      if (text.rfind("\r\n", 0) == 0)
        text.erase(0, 2);
      else if (text.rfind('\n', 0) == 0)
        text.erase(0, 1);
      const std::string value = withCrLf(htmlDecode(text));
      const std::string problem = constraintProblem(tag, "textarea", name, value);
      if (!problem.empty()) problems.push_back(problem);
      fields.emplace_back(name, value);
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
