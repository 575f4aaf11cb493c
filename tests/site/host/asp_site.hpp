#pragma once
// A small web server for generated sites: requests go in as a browser sends them, the page runs
// in the engine's VBScript interpreter with the ASP intrinsic objects and ADODB over ODBC, and
// the response comes back as bytes. It keeps what a server keeps between requests: sessions by
// cookie, and the application's values; and what a browser keeps: its cookies.
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "site/host/ado_objects.hpp"
#include "site/host/asp_page.hpp"
#include "site/host/asp_state.hpp"

namespace vantorel::test::asp {

// The cookie that names the visitor's session.
inline constexpr char kSessionCookie[] = "ASPSESSIONIDVANTOREL";

struct PageRun {
  HttpResponse response;
  std::string error;  // the script error that ended the page, as IIS logs it; empty when none
  std::vector<std::u16string> statements;  // the SQL the page sent, in order
  int connectionsOpened = 0;               // database connections the page opened

  // The body as UTF-8 text, decoded from the code page it was written in.
  std::string text() const;
  std::string location() const { return response.header("Location"); }
};

using FormFields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 names and values

class AspSite {
 public:
  // folder is where the site stands in the host's URLs, "/" or e.g. "/shop/".
  explicit AspSite(std::filesystem::path root, std::string folder = "/");

  // url is the page's path in the site's folder with its query string, e.g.
  // "Productslist.asp?start=11".
  PageRun get(const std::string& url);
  // A form posted as a browser posts it: fields URL-encoded from UTF-8.
  PageRun post(const std::string& url, const FormFields& fields);
  // A multipart/form-data post; files are (field, (file name, bytes)).
  PageRun postMultipart(const std::string& url, const FormFields& fields,
                        const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>& files);
  PageRun send(HttpRequest request);

  // Drops the browser's cookies: the next request starts a new session.
  void forgetCookies() { cookies_.clear(); }
  // The browser's cookie of that name as it sends it (empty when it has none), and one set in it
  // as another site or person might plant it.
  std::string cookie(const std::string& name) const;
  void setCookie(const std::string& name, const std::string& value);
  ValueStore& application() { return application_; }
  // Server.CreateObject of the component (e.g. "Scriptlet.TypeLib") fails from now on, as on a
  // server where it is not registered.
  void removeComponent(const std::string& progId) { removed_.push_back(progId); }

 private:
  const CompiledPage& page(const std::filesystem::path& file);

  // Keeps the cookies of the response's headers and Cookies collection, as a browser does.
  void keepCookies(const HttpResponse& response);

  std::filesystem::path root_;
  std::string folder_;
  std::map<std::filesystem::path, CompiledPage> pages_;
  std::map<std::u16string, SessionState> sessions_;
  ValueStore application_;
  std::vector<std::pair<std::string, std::string>> cookies_;
  int nextSession_ = 1;
  std::vector<std::string> removed_;
};

// The value of the first <input name="..." value="..."> of that name in the page; empty when
// there is none.
std::string inputValue(const std::string& html, const std::string& name);

}  // namespace vantorel::test::asp
