#pragma once
// What a browser posts for a page's form, read from the page's HTML.
#include <string>
#include <vector>

#include "site/host/asp_site.hpp"

namespace vantorel::test::site {

// The text of HTML with its character references decoded.
std::string htmlDecode(const std::string& html);

// The fields a browser sends for the first form of the page whose start tag holds `marker`,
// posted as it stands: text, hidden, number and date inputs, checked boxes and radio buttons,
// each select's chosen option (else its first) and each text area, in their order. Values are
// sanitized as a browser does (line breaks leave one-line boxes, a number or date input sends
// only a valid value, a datetime-local its normalized form, a text area CR LF line breaks).
asp::FormFields formAsSent(const std::string& html, const std::string& marker);
// The same, with why a browser would refuse to send the form as it stands (a required control
// left empty, a value outside its pattern, min or max) added to problems.
asp::FormFields formAsSent(const std::string& html, const std::string& marker,
                           std::vector<std::string>& problems);

}  // namespace vantorel::test::site
