#include "site/host/asp_site.hpp"

#include <regex>

#include "platform/automation/class_factory.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/engine.hpp"
#include "platform/vbscript/script_runtime.hpp"
#include "site/host/asp_intrinsics.hpp"
#include "site/host/server_components.hpp"

namespace vantorel::test::asp {

namespace fs = std::filesystem;

namespace {

// What IIS's request filtering refuses to serve out of the box, wherever it stands in a path.
bool isHiddenSegment(const fs::path& path) {
  static const char* const kHidden[] = {
      "web.config",        "bin",      "App_code",    "App_GlobalResources", "App_LocalResources",
      "App_WebReferences", "App_Data", "App_Browsers"};
  for (const fs::path& part : path) {
    for (const char* hidden : kHidden) {
      if (equalsNoCase(fromUtf8(part.string()), fromUtf8(hidden))) return true;
    }
  }
  return false;
}

}  // namespace

std::string PageRun::text() const {
  const int cp = response.codePage == 0 ? kCodePageWindows1252 : response.codePage;
  return toUtf8(decodeCodePage(response.body, cp));
}

AspSite::AspSite(fs::path root, std::string folder)
    : root_(std::move(root)), folder_(std::move(folder)) {
  // Dictionary, FileSystemObject, RegExp and ADODB.Stream, as Windows has them registered.
  vbs::registerScriptRuntime(ClassFactory::instance());
}

const CompiledPage& AspSite::page(const fs::path& file) {
  auto it = pages_.find(file);
  if (it == pages_.end()) it = pages_.emplace(file, compilePage(root_, file)).first;
  return it->second;
}

PageRun AspSite::get(const std::string& url) {
  HttpRequest request;
  request.method = "GET";
  const std::size_t q = url.find('?');
  request.path = folder_ + url.substr(0, q);
  if (q != std::string::npos) request.queryString = url.substr(q + 1);
  return send(std::move(request));
}

PageRun AspSite::post(const std::string& url, const FormFields& fields) {
  HttpRequest request;
  request.method = "POST";
  const std::size_t q = url.find('?');
  request.path = folder_ + url.substr(0, q);
  if (q != std::string::npos) request.queryString = url.substr(q + 1);
  request.contentType = "application/x-www-form-urlencoded";
  for (const auto& [name, value] : fields) {
    if (!request.body.empty()) request.body += '&';
    request.body += urlEncodeUtf8(fromUtf8(name)) + "=" + urlEncodeUtf8(fromUtf8(value));
  }
  return send(std::move(request));
}

PageRun AspSite::postMultipart(
    const std::string& url, const FormFields& fields,
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>& files) {
  HttpRequest request;
  request.method = "POST";
  const std::size_t q = url.find('?');
  request.path = folder_ + url.substr(0, q);
  if (q != std::string::npos) request.queryString = url.substr(q + 1);
  const std::string boundary = "----vantorelBoundary7MA4YWxkTrZu0gW";
  request.contentType = "multipart/form-data; boundary=" + boundary;
  for (const auto& [name, value] : fields) {
    request.body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name +
                    "\"\r\n\r\n" + value + "\r\n";
  }
  for (const auto& [name, file] : files) {
    request.body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name +
                    "\"; filename=\"" + file.first +
                    "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + file.second + "\r\n";
  }
  request.body += "--" + boundary + "--\r\n";
  return send(std::move(request));
}

PageRun AspSite::send(HttpRequest request) {
  PageRun run;
  request.cookies = cookies_;
  RequestContext context;
  context.root = root_;
  const bool inFolder = request.path.rfind(folder_, 0) == 0;
  const fs::path inSite = inFolder ? fs::path(request.path.substr(folder_.size())) : fs::path();
  context.page = root_ / inSite.relative_path();
  context.request = std::move(request);
  context.application = &application_;
  if (!inFolder || isHiddenSegment(inSite) || !fs::is_regular_file(context.page)) {
    run.response.status = "404 Not Found";
    return run;
  }

  // The session the browser's cookie names, or a new one.
  std::u16string sessionId;
  for (const auto& [name, value] : context.request.cookies) {
    if (name == kSessionCookie) sessionId = fromUtf8(value);
  }
  if (sessionId.empty() || !sessions_.count(sessionId)) {
    sessionId = fromUtf8("S" + std::to_string(nextSession_++));
    sessions_[sessionId].id = sessionId;
    cookies_.emplace_back(kSessionCookie, toUtf8(sessionId));
  }
  context.session = &sessions_[sessionId];

  const CompiledPage& compiled = page(context.page);
  context.directiveCodePage = compiled.directives.codePage;
  std::vector<Ref<ado::Connection>> connections;
  {
    vbs::Engine engine;
    engine.setTimeout(120000);
    auto response = makeRef<Response>(context);
    response->setBlocks(&compiled.blocks);
    engine.addObject(u"Response", response, false);
    engine.addObject(u"Request", makeRef<Request>(context), false);
    engine.addObject(u"Server",
                     makeRef<Server>(context,
                                     [&connections, this](std::u16string_view progId) {
                                       for (const std::string& removed : removed_) {
                                         if (equalsNoCase(progId, fromUtf8(removed))) {
                                           return Ref<Object>();
                                         }
                                       }
                                       Ref<Object> made = ado::createAdoObject(progId);
                                       if (!made) made = createServerComponent(progId);
                                       if (auto* c = dynamic_cast<ado::Connection*>(made.get())) {
                                         connections.emplace_back(c);
                                       }
                                       return made;
                                     }),
                     false);
    engine.addObject(u"Session", makeRef<StateObject>(context, context.session->values, context.session),
                     false);
    engine.addObject(u"Application", makeRef<StateObject>(context, application_, nullptr), false);
    try {
      engine.globalModule().addCode(compiled.script);
    } catch (const vbs::ScriptException& e) {
      if (!context.ended) {
        const vbs::ScriptError& error = e.error();
        run.error = "line " + std::to_string(error.line) + ": " + toUtf8(error.description) +
                    " (" + std::to_string(error.number) + ")";
        context.response.status = "500 Internal Server Error";
      }
    }
    engine.reset();
  }
  for (const Ref<ado::Connection>& c : connections) {
    run.statements.insert(run.statements.end(), c->statements.begin(), c->statements.end());
    run.connectionsOpened += c->opens;
  }
  if (context.session->abandoned) sessions_.erase(sessionId);

  context.response.codePage = context.codePage();
  keepCookies(context.response);
  run.response = std::move(context.response);
  return run;
}

void AspSite::keepCookies(const HttpResponse& response) {
  const auto keep = [this](const std::string& key, const std::string& value) {
    std::erase_if(cookies_, [&](const auto& c) { return c.first == key; });
    if (!value.empty()) cookies_.emplace_back(key, value);
  };
  // The Cookies collection, as ASP sends it: URL-encoded.
  for (const auto& [name, cookie] : response.cookies) {
    keep(toUtf8(name), toUtf8(urlEncode(cookie.value, response.codePage)));
  }
  // "Set-Cookie: name=value; attributes" written by the page itself; an expiry of no time left
  // removes the cookie.
  static const std::regex setCookie(R"(^\s*([^=;\s]+)=([^;]*)(.*)$)");
  static const std::regex gone(R"(;\s*max-age=0\s*(;|$))", std::regex::icase);
  for (const auto& [name, text] : response.headers) {
    std::smatch m;
    if (!equalsNoCase(fromUtf8(name), u"Set-Cookie") || !std::regex_match(text, m, setCookie)) {
      continue;
    }
    const std::string attributes = m[3].str();
    keep(m[1].str(), std::regex_search(attributes, gone) ? std::string() : m[2].str());
  }
}

std::string AspSite::cookie(const std::string& name) const {
  for (const auto& [key, value] : cookies_) {
    if (key == name) return value;
  }
  return {};
}

void AspSite::setCookie(const std::string& name, const std::string& value) {
  std::erase_if(cookies_, [&](const auto& c) { return c.first == name; });
  cookies_.emplace_back(name, value);
}

std::string inputValue(const std::string& html, const std::string& name) {
  const std::regex input("<input[^>]*name=\"" + name + "\"[^>]*>");
  std::smatch m;
  if (!std::regex_search(html, m, input)) return {};
  static const std::regex value("value=\"([^\"]*)\"");
  const std::string tag = m.str();
  std::smatch v;
  if (!std::regex_search(tag, v, value)) return {};
  return v[1].str();
}

}  // namespace vantorel::test::asp
