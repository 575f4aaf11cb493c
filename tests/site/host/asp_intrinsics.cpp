#include "site/host/asp_intrinsics.hpp"

#include <cctype>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/vm/runtime.hpp"

namespace vantorel::test::asp {

namespace {

// Names in a collection compare without regard to case.
bool sameName(std::u16string_view a, std::u16string_view b) {
  return NoCaseEqual{}(a, b);
}

// The error ASP raises for a call out of place (its 0x800A0005 reads "Invalid procedure call").
[[noreturn]] void invalidCall() {
  raiseVbError(vberr::kInvalidProcedureCall);
}

class NameEnumerator final : public Enumerator {
 public:
  explicit NameEnumerator(std::vector<std::u16string> names) : names_(std::move(names)) {}
  bool next(Variant& out) override {
    if (pos_ >= names_.size()) return false;
    out = Variant(names_[pos_++]);
    return true;
  }
  void reset() override { pos_ = 0; }
  Ref<Enumerator> clone() override { return makeRef<NameEnumerator>(names_); }

 private:
  std::vector<std::u16string> names_;
  std::size_t pos_ = 0;
};

std::u16string ascii(std::string_view s) {
  return std::u16string(s.begin(), s.end());
}

}  // namespace

void endResponse(RequestContext& context) {
  context.ended = true;
  throw vbs::ScriptAbort(false);
}

// ---- Request ----

RequestCollection::RequestCollection(std::vector<std::pair<std::u16string, std::u16string>> pairs) {
  for (auto& [name, value] : pairs) {
    std::size_t i = 0;
    while (i < names_.size() && !sameName(names_[i], name)) ++i;
    if (i == names_.size()) {
      names_.push_back(name);
      values_.emplace_back();
    }
    values_[i].push_back(std::move(value));
  }
}

Variant RequestCollection::item(const Variant& key) {
  std::size_t i = names_.size();
  if (key.isNumericType()) {
    const std::int32_t n = toLong(key);
    if (n < 1 || n > count()) invalidCall();
    i = static_cast<std::size_t>(n - 1);
  } else {
    const std::u16string name = toString(key);
    for (std::size_t j = 0; j < names_.size(); ++j) {
      if (sameName(names_[j], name)) i = j;
    }
  }
  if (i == names_.size()) return Variant();
  std::u16string joined;
  for (const std::u16string& v : values_[i]) {
    if (!joined.empty() || &v != &values_[i].front()) joined += u", ";
    joined += v;
  }
  return Variant(joined);
}

std::int32_t RequestCollection::count() const {
  return static_cast<std::int32_t>(names_.size());
}

std::u16string RequestCollection::key(std::int32_t index) const {
  if (index < 1 || index > count()) invalidCall();
  return names_[static_cast<std::size_t>(index - 1)];
}

Ref<Enumerator> RequestCollection::newEnum() {
  return makeRef<NameEnumerator>(names_);
}

const ClassInfo& RequestCollection::classInfo() const noexcept {
  static const ClassInfo info(u"IRequestDictionary", [](ClassInfo& c) {
    ClassBuilder<RequestCollection>(c)
        .get<&RequestCollection::item>(u"Item")
        .get<&RequestCollection::count>(u"Count")
        .get<&RequestCollection::key>(u"Key")
        .defaultMember(u"Item")
        .enumerator<&RequestCollection::newEnum>();
  });
  return info;
}

RequestCollection& Request::collection(Ref<RequestCollection>& slot, int which) {
  if (slot) return *slot;
  const int cp = context_.codePage();
  std::vector<std::pair<std::u16string, std::u16string>> pairs;
  const HttpRequest& r = context_.request;
  switch (which) {
    case 0:
      pairs = parseUrlEncoded(r.queryString, cp);
      break;
    case 1:
      // A form read after BinaryRead is refused, as IIS refuses it.
      if (binaryRead_) raiseVbError(vberr::kInvalidProcedureCall);
      formRead_ = true;
      if (r.contentType.rfind("application/x-www-form-urlencoded", 0) == 0) {
        pairs = parseUrlEncoded(r.body, cp);
      }
      break;
    case 2:
      for (const auto& [name, value] : r.cookies) {
        pairs.emplace_back(fromUtf8(name), decodeCodePage(urlDecodeBytes(value), cp));
      }
      break;
    default: {
      const std::string script = r.path;
      pairs = {{u"REQUEST_METHOD", ascii(r.method)},
               {u"SCRIPT_NAME", fromUtf8(script)},
               {u"URL", fromUtf8(script)},
               {u"PATH_INFO", fromUtf8(script)},
               {u"QUERY_STRING", fromUtf8(r.queryString)},
               {u"CONTENT_TYPE", fromUtf8(r.contentType)},
               {u"CONTENT_LENGTH", ascii(std::to_string(r.body.size()))},
               {u"SERVER_NAME", u"localhost"},
               {u"SERVER_PORT", u"80"},
               {u"HTTPS", u"off"},
               {u"REMOTE_ADDR", u"127.0.0.1"},
               {u"HTTP_HOST", u"localhost"}};
      for (const auto& [name, value] : r.headers) {
        std::string key = "HTTP_" + name;
        for (char& ch : key) ch = ch == '-' ? '_' : static_cast<char>(std::toupper(ch));
        pairs.emplace_back(ascii(key), fromUtf8(value));
      }
      break;
    }
  }
  slot = makeRef<RequestCollection>(std::move(pairs));
  return *slot;
}

Variant Request::queryString(std::optional<Variant> key) {
  RequestCollection& c = collection(query_, 0);
  return key ? c.item(*key) : Variant(&c);
}
Variant Request::form(std::optional<Variant> key) {
  RequestCollection& c = collection(form_, 1);
  return key ? c.item(*key) : Variant(&c);
}
Variant Request::cookies(std::optional<Variant> key) {
  RequestCollection& c = collection(cookies_, 2);
  return key ? c.item(*key) : Variant(&c);
}
Variant Request::serverVariables(std::optional<Variant> key) {
  RequestCollection& c = collection(variables_, 3);
  return key ? c.item(*key) : Variant(&c);
}

Variant Request::item(const Variant& key) {
  for (int which = 0; which < 4; ++which) {
    Ref<RequestCollection>& slot = which == 0   ? query_
                                   : which == 1 ? form_
                                   : which == 2 ? cookies_
                                                : variables_;
    Variant v = collection(slot, which).item(key);
    if (!v.isEmpty()) return v;
  }
  return Variant();
}

std::int32_t Request::totalBytes() const {
  return static_cast<std::int32_t>(context_.request.body.size());
}

Variant Request::binaryRead(Variant& count) {
  if (formRead_) raiseVbError(vberr::kInvalidProcedureCall);
  binaryRead_ = true;
  // Each read goes on where the last one stopped; TotalBytes stays the size of the whole body.
  const std::string& body = context_.request.body;
  const auto n = std::min<std::size_t>(static_cast<std::size_t>(std::max(0, toLong(count))),
                                       body.size() - bodyRead_);
  std::vector<Variant> bytes;
  bytes.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    bytes.emplace_back(static_cast<std::uint8_t>(body[bodyRead_ + i]));
  }
  bodyRead_ += n;
  count = Variant(static_cast<std::int32_t>(n));
  return Variant(SafeArray::fromValues(std::move(bytes), VarType::Byte));
}

const ClassInfo& Request::classInfo() const noexcept {
  static const ClassInfo info(u"IRequest", [](ClassInfo& c) {
    ClassBuilder<Request>(c)
        .get<&Request::item>(u"Item")
        .get<&Request::queryString>(u"QueryString")
        .get<&Request::form>(u"Form")
        .get<&Request::cookies>(u"Cookies")
        .get<&Request::serverVariables>(u"ServerVariables")
        .get<&Request::totalBytes>(u"TotalBytes")
        .method<&Request::binaryRead>(u"BinaryRead")
        .defaultMember(u"Item");
  });
  return info;
}

// ---- Response ----

void ResponseCookie::setExpires(const Variant& v) {
  cookie_.expires = toString(v);
}

const ClassInfo& ResponseCookie::classInfo() const noexcept {
  static const ClassInfo info(u"IWriteCookie", [](ClassInfo& c) {
    ClassBuilder<ResponseCookie>(c)
        .prop<&ResponseCookie::value, &ResponseCookie::setValue>(u"Item")
        .prop<&ResponseCookie::path, &ResponseCookie::setPath>(u"Path")
        .prop<&ResponseCookie::expires, &ResponseCookie::setExpires>(u"Expires")
        .prop<&ResponseCookie::secure, &ResponseCookie::setSecure>(u"Secure")
        .defaultMember(u"Item");
  });
  return info;
}

void Response::writeText(std::u16string_view text) {
  context_.response.body += encodeCodePage(text, context_.codePage());
}

void Response::write(const Variant& value) {
  if (value.isNull() || value.isEmpty()) return;
  writeText(toString(value));
}

void Response::writeBlock(std::int32_t index) {
  if (!blocks_ || index < 0 || static_cast<std::size_t>(index) >= blocks_->size()) invalidCall();
  writeText((*blocks_)[static_cast<std::size_t>(index)]);
}

void Response::binaryWrite(const Variant& data) {
  if (data.isArray()) {
    for (const Variant& b : data.arrayValue().elements()) {
      context_.response.body += static_cast<char>(toByte(b));
    }
  } else if (!data.isNull() && !data.isEmpty()) {
    // A string's UTF-16 code units go out as bytes, low byte first.
    for (const char16_t u : toString(data)) {
      context_.response.body += static_cast<char>(u & 0xFF);
      context_.response.body += static_cast<char>(u >> 8);
    }
  }
}

void Response::redirect(const std::u16string& url) {
  context_.response.body.clear();
  context_.response.status = "302 Object moved";
  context_.response.headers.emplace_back("Location", toUtf8(url));
  end();
}

void Response::end() {
  endResponse(context_);
}

void Response::clear() {
  if (!context_.buffer) raiseVbError(vberr::kInvalidProcedureCall);
  context_.response.body.clear();
}

void Response::flush() {
  if (!context_.buffer) raiseVbError(vberr::kInvalidProcedureCall);
}

void Response::addHeader(const std::u16string& name, const std::u16string& value) {
  context_.response.headers.emplace_back(toUtf8(name), toUtf8(value));
}

// IIS refuses a log entry of more than 80 characters.
void Response::appendToLog(const std::u16string& text) {
  if (text.size() > 80) raiseVbError(vberr::kInvalidProcedureCall);
  context_.response.log.push_back(toUtf8(text));
}

void Response::setBuffer(bool on) {
  context_.buffer = on;
}

std::u16string Response::contentType() const {
  return fromUtf8(context_.response.contentType);
}
void Response::setContentType(const std::u16string& v) {
  context_.response.contentType = toUtf8(v);
}
std::u16string Response::charset() const {
  return fromUtf8(context_.response.charset);
}
void Response::setCharset(const std::u16string& v) {
  context_.response.charset = toUtf8(v);
}
void Response::setCodePage(std::int32_t v) {
  if (!isSupportedCodePage(v)) raiseVbError(vberr::kInvalidProcedureCall);
  context_.responseCodePage = v;
}
std::u16string Response::status() const {
  return fromUtf8(context_.response.status);
}
void Response::setStatus(const std::u16string& v) {
  if (v.size() < 3) raiseVbError(vberr::kInvalidProcedureCall);
  context_.response.status = toUtf8(v);
}
void Response::setCacheControl(const std::u16string& v) {
  cacheControl_ = v;
  context_.response.headers.emplace_back("Cache-Control", toUtf8(v));
}

Cookie& Response::cookie(const std::u16string& name) {
  for (auto& [key, c] : context_.response.cookies) {
    if (sameName(key, name)) return c;
  }
  context_.response.cookies.emplace_back(name, Cookie{});
  return context_.response.cookies.back().second;
}

Variant Response::cookieItem(const Variant& key) {
  return Variant(makeRef<ResponseCookie>(cookie(toString(key))));
}

void Response::setCookie(const Variant& key, const Variant& value) {
  cookie(toString(key)).value = toString(value);
}

const ClassInfo& Response::classInfo() const noexcept {
  static const ClassInfo info(u"IResponse", [](ClassInfo& c) {
    ClassBuilder<Response>(c)
        .method<&Response::write>(u"Write")
        .method<&Response::writeBlock>(u"WriteBlock")
        .method<&Response::binaryWrite>(u"BinaryWrite")
        .method<&Response::redirect>(u"Redirect")
        .method<&Response::end>(u"End")
        .method<&Response::clear>(u"Clear")
        .method<&Response::flush>(u"Flush")
        .method<&Response::addHeader>(u"AddHeader")
        .method<&Response::appendToLog>(u"AppendToLog")
        .prop<&Response::buffer, &Response::setBuffer>(u"Buffer")
        .prop<&Response::contentType, &Response::setContentType>(u"ContentType")
        .prop<&Response::charset, &Response::setCharset>(u"Charset")
        .prop<&Response::codePage, &Response::setCodePage>(u"CodePage")
        .prop<&Response::status, &Response::setStatus>(u"Status")
        .prop<&Response::expires, &Response::setExpires>(u"Expires")
        .prop<&Response::cacheControl, &Response::setCacheControl>(u"CacheControl")
        .prop<&Response::cookieItem, &Response::setCookie>(u"Cookies");
  });
  return info;
}

// ---- Server ----

std::u16string htmlEncode(std::u16string_view text, int codePage) {
  std::u16string out;
  for (const char16_t c : text) {
    switch (c) {
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'&':
        out += u"&amp;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      default:
        if (c >= 0xA0 && c <= 0xFF && codePage != kCodePageUtf8) {
          out += u"&#" + fromUtf8(std::to_string(static_cast<int>(c))) + u";";
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::u16string urlEncode(std::u16string_view text, int codePage) {
  static const char16_t* hex = u"0123456789ABCDEF";
  std::u16string out;
  for (const unsigned char b : encodeCodePage(text, codePage)) {
    if (std::isalnum(b)) {
      out += static_cast<char16_t>(b);
    } else if (b == ' ') {
      out += u'+';
    } else {
      out += u'%';
      out += hex[b >> 4];
      out += hex[b & 15];
    }
  }
  return out;
}

Ref<Object> Server::createObject(const std::u16string& progId) {
  if (Ref<Object> made = factory_ ? factory_(progId) : Ref<Object>()) return made;
  return ClassFactory::instance().create(progId);
}

std::u16string Server::htmlEncode(const Variant& text) const {
  return asp::htmlEncode(toString(text), context_.codePage());
}

std::u16string Server::urlEncode(const Variant& text) const {
  return asp::urlEncode(toString(text), context_.codePage());
}

std::u16string Server::urlPathEncode(const Variant& text) const {
  std::u16string out;
  for (const char16_t c : toString(text)) {
    if (c == u' ') {
      out += u"%20";
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string Server::mapPath(const std::u16string& path) const {
  const std::string p = toUtf8(path);
  // Paths above the site are refused, as IIS refuses "..": a page cannot reach outside it.
  if (p.find("..") != std::string::npos) raiseVbError(vberr::kInvalidProcedureCall);
  const std::filesystem::path base =
      !p.empty() && (p[0] == '/' || p[0] == '\\') ? context_.root : context_.page.parent_path();
  std::filesystem::path rel(p);
  return fromUtf8((base / rel.relative_path()).lexically_normal().string());
}

const ClassInfo& Server::classInfo() const noexcept {
  static const ClassInfo info(u"IServer", [](ClassInfo& c) {
    ClassBuilder<Server>(c)
        .method<&Server::createObject>(u"CreateObject")
        .method<&Server::htmlEncode>(u"HTMLEncode")
        .method<&Server::urlEncode>(u"URLEncode")
        .method<&Server::urlPathEncode>(u"URLPathEncode")
        .method<&Server::mapPath>(u"MapPath")
        .prop<&Server::scriptTimeout, &Server::setScriptTimeout>(u"ScriptTimeout");
  });
  return info;
}

// ---- Session and Application ----

std::u16string StateObject::typeName() const {
  return session_ ? u"ISessionObject" : u"IApplicationObject";
}

Variant StateObject::value(const Variant& key) const {
  if (key.isNumericType()) {
    const std::int32_t n = toLong(key);
    if (n < 1 || n > count()) invalidCall();
    return store_.items()[static_cast<std::size_t>(n - 1)].second;
  }
  return store_.get(toString(key));
}

void StateObject::setValue(const Variant& key, const Variant& value) {
  store_.put(toString(key), value);
}

Variant StateObject::contents(std::optional<Variant> key) {
  if (key) return value(*key);
  return Variant(this);
}

void StateObject::remove(const Variant& key) {
  store_.remove(toString(key));
}

void StateObject::removeAll() {
  store_.clear();
}

std::u16string StateObject::key(std::int32_t index) const {
  if (index < 1 || index > count()) invalidCall();
  return store_.items()[static_cast<std::size_t>(index - 1)].first;
}

Ref<Enumerator> StateObject::newEnum() {
  std::vector<std::u16string> names;
  for (const auto& item : store_.items()) names.push_back(item.first);
  return makeRef<NameEnumerator>(std::move(names));
}

std::u16string StateObject::sessionId() const {
  if (!session_) raiseVbError(vberr::kNotSupported);
  return session_->id;
}
std::int32_t StateObject::timeout() const {
  return session_ ? session_->timeout : 0;
}
void StateObject::setTimeout(std::int32_t minutes) {
  if (session_) session_->timeout = minutes;
}
void StateObject::abandon() {
  if (session_) session_->abandoned = true;
}
std::int32_t StateObject::codePage() const {
  return session_ ? context_.codePage() : 0;
}
void StateObject::setCodePage(std::int32_t cp) {
  if (!isSupportedCodePage(cp)) raiseVbError(vberr::kInvalidProcedureCall);
  if (session_) session_->codePage = cp;
}

const ClassInfo& StateObject::classInfo() const noexcept {
  static const ClassInfo info(u"IStateObject", [](ClassInfo& c) {
    ClassBuilder<StateObject>(c)
        .prop<&StateObject::value, &StateObject::setValue>(u"Value")
        .get<&StateObject::contents>(u"Contents")
        .method<&StateObject::remove>(u"Remove")
        .method<&StateObject::removeAll>(u"RemoveAll")
        .get<&StateObject::count>(u"Count")
        .get<&StateObject::key>(u"Key")
        .get<&StateObject::sessionId>(u"SessionID")
        .prop<&StateObject::timeout, &StateObject::setTimeout>(u"Timeout")
        .method<&StateObject::abandon>(u"Abandon")
        .prop<&StateObject::codePage, &StateObject::setCodePage>(u"CodePage")
        .method<&StateObject::lock>(u"Lock")
        .method<&StateObject::unlock>(u"Unlock")
        .defaultMember(u"Value")
        .enumerator<&StateObject::newEnum>();
  });
  return info;
}

}  // namespace vantorel::test::asp
