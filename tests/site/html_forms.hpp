#pragma once
// What a browser posts for a page's form, read from the page's HTML.
#include <string>

#include "site/host/asp_site.hpp"

namespace vantorel::test::site {

// The text of HTML with its character references decoded.
std::string htmlDecode(const std::string& html);

// The fields a browser sends for the first form of the page whose start tag holds `marker`,
// posted as it stands: text, hidden, number and date inputs, checked boxes and radio buttons,
// each select's chosen option (else its first) and each text area, in their order.
asp::FormFields formAsSent(const std::string& html, const std::string& marker);

}  // namespace vantorel::test::site
