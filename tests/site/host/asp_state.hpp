#pragma once
// What one request of the test web server holds, and what outlives it: the visitor's session
// and the site's application values. The intrinsic objects of a page read and write these.
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/variant.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::test::asp {

// Names compare without regard to case, as ASP's collections do; insertion order is kept.
class ValueStore {
 public:
  Variant get(std::u16string_view name) const;
  void put(std::u16string_view name, Variant value);
  void remove(std::u16string_view name);
  void clear() { items_.clear(); }
  const std::vector<std::pair<std::u16string, Variant>>& items() const { return items_; }

 private:
  std::vector<std::pair<std::u16string, Variant>> items_;
};

struct SessionState {
  std::u16string id;
  ValueStore values;
  int codePage = 0;
  std::int32_t timeout = 20;
  bool abandoned = false;
};

struct Cookie {
  std::u16string value;
  std::u16string path;
  std::u16string expires;
  bool secure = false;
};

// One request as the browser sent it; the bytes of names and values are still URL-encoded.
struct HttpRequest {
  std::string method = "GET";
  std::string path;         // "/Productslist.asp"
  std::string queryString;  // without the "?"
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> cookies;  // decoded name, raw value
  std::vector<std::pair<std::string, std::string>> headers;  // e.g. "Referer"
};

struct HttpResponse {
  std::string status = "200 OK";
  std::string contentType = "text/html";
  std::string charset;
  std::vector<std::pair<std::string, std::string>> headers;
  std::vector<std::pair<std::u16string, Cookie>> cookies;
  std::string body;              // the bytes the server sends
  std::vector<std::string> log;  // what the page added to the server's log, UTF-8
  int codePage = 0;              // the code page the text was written in

  int statusCode() const { return std::stoi(status.substr(0, 3)); }
  // Empty when the response has no such header (names compare ignoring case).
  std::string header(std::string_view name) const;
};

// Everything a page's intrinsic objects share while it runs.
struct RequestContext {
  std::filesystem::path root;  // the site folder
  std::filesystem::path page;  // the page file
  HttpRequest request;
  HttpResponse response;
  SessionState* session = nullptr;
  ValueStore* application = nullptr;
  int directiveCodePage = 0;
  int responseCodePage = 0;
  bool buffer = true;
  bool ended = false;
  std::int32_t scriptTimeout = 90;

  // The code page text is read and written in now: the response's, else the page's, else the
  // session's, else the server's ANSI one.
  int codePage() const;
};

// "%41+b" as bytes: "A b".
std::string urlDecodeBytes(std::string_view text);
// The pairs of a query string or a urlencoded form, names and values decoded in the code page.
std::vector<std::pair<std::u16string, std::u16string>> parseUrlEncoded(std::string_view text,
                                                                       int codePage);
// As a browser encodes a form field in UTF-8.
std::string urlEncodeUtf8(std::u16string_view text);

}  // namespace vantorel::test::asp
