#pragma once
// The intrinsic objects of a classic ASP page: Request, Response, Server, Session and
// Application, over one RequestContext. They behave as IIS documents them where a page can tell
// the difference: text is read and written in the code page in force, Response.End and
// Redirect stop the page whatever On Error says, HTMLEncode and URLEncode encode as IIS does.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"
#include "site/host/asp_state.hpp"

namespace vantorel::test::asp {

// Thrown through the script by Response.End; the host tells it from a real abort by ended.
void endResponse(RequestContext& context);

// A read-only collection of names and values: QueryString, Form, Cookies, ServerVariables.
// Item gives the values of a name joined by ", " (Empty when there is none); For Each walks the
// names.
class RequestCollection final : public Object {
 public:
  explicit RequestCollection(std::vector<std::pair<std::u16string, std::u16string>> pairs);
  const ClassInfo& classInfo() const noexcept override;
  Variant item(const Variant& key);
  std::int32_t count() const;
  std::u16string key(std::int32_t index) const;
  Ref<Enumerator> newEnum() override;

 private:
  std::vector<std::u16string> names_;  // distinct, in order of first appearance
  std::vector<std::vector<std::u16string>> values_;
};

class Request final : public Object {
 public:
  explicit Request(RequestContext& context) : context_(context) {}
  const ClassInfo& classInfo() const noexcept override;

  Variant queryString(std::optional<Variant> key);
  Variant form(std::optional<Variant> key);
  Variant cookies(std::optional<Variant> key);
  Variant serverVariables(std::optional<Variant> key);
  // Request("x"): QueryString, then Form, Cookies and ServerVariables.
  Variant item(const Variant& key);
  std::int32_t totalBytes() const;
  Variant binaryRead(Variant& count);

 private:
  RequestCollection& collection(Ref<RequestCollection>& slot, int which);
  RequestContext& context_;
  Ref<RequestCollection> query_, form_, cookies_, variables_;
  bool formRead_ = false;
  bool binaryRead_ = false;
  std::size_t bodyRead_ = 0;  // bytes of the body BinaryRead has given
};

class ResponseCookie final : public Object {
 public:
  explicit ResponseCookie(Cookie& cookie) : cookie_(cookie) {}
  const ClassInfo& classInfo() const noexcept override;
  std::u16string value() const { return cookie_.value; }
  void setValue(const std::u16string& v) { cookie_.value = v; }
  std::u16string path() const { return cookie_.path; }
  void setPath(const std::u16string& v) { cookie_.path = v; }
  std::u16string expires() const { return cookie_.expires; }
  void setExpires(const Variant& v);
  bool secure() const { return cookie_.secure; }
  void setSecure(bool v) { cookie_.secure = v; }

 private:
  Cookie& cookie_;
};

class Response final : public Object {
 public:
  explicit Response(RequestContext& context) : context_(context) {}
  const ClassInfo& classInfo() const noexcept override;

  void write(const Variant& value);
  void writeText(std::u16string_view text);
  void binaryWrite(const Variant& data);
  void redirect(const std::u16string& url);
  void end();
  void clear();
  void flush();
  void addHeader(const std::u16string& name, const std::u16string& value);
  void appendToLog(const std::u16string& text);
  bool buffer() const { return context_.buffer; }
  void setBuffer(bool on);
  std::u16string contentType() const;
  void setContentType(const std::u16string& v);
  std::u16string charset() const;
  void setCharset(const std::u16string& v);
  std::int32_t codePage() const { return context_.codePage(); }
  void setCodePage(std::int32_t v);
  std::u16string status() const;
  void setStatus(const std::u16string& v);
  Variant expires() const { return Variant(); }
  void setExpires(const Variant&) {}
  std::u16string cacheControl() const { return cacheControl_; }
  void setCacheControl(const std::u16string& v);
  Variant cookieItem(const Variant& key);
  // Response.Cookies("name") = value
  void setCookie(const Variant& key, const Variant& value);
  // The literal blocks of the page, written by index.
  void setBlocks(const std::vector<std::u16string>* blocks) { blocks_ = blocks; }
  void writeBlock(std::int32_t index);

 private:
  Cookie& cookie(const std::u16string& name);
  RequestContext& context_;
  const std::vector<std::u16string>* blocks_ = nullptr;
  std::u16string cacheControl_ = u"private";
};

class Server final : public Object {
 public:
  using Factory = std::function<Ref<Object>(std::u16string_view progId)>;
  Server(RequestContext& context, Factory factory)
      : context_(context), factory_(std::move(factory)) {}
  const ClassInfo& classInfo() const noexcept override;

  Ref<Object> createObject(const std::u16string& progId);
  std::u16string htmlEncode(const Variant& text) const;
  std::u16string urlEncode(const Variant& text) const;
  std::u16string urlPathEncode(const Variant& text) const;
  std::u16string mapPath(const std::u16string& path) const;
  std::int32_t scriptTimeout() const { return context_.scriptTimeout; }
  void setScriptTimeout(std::int32_t seconds) { context_.scriptTimeout = seconds; }

 private:
  RequestContext& context_;
  Factory factory_;
};

// Session and Application: values by name, plus the members each adds.
class StateObject final : public Object {
 public:
  StateObject(RequestContext& context, ValueStore& store, SessionState* session)
      : context_(context), store_(store), session_(session) {}
  const ClassInfo& classInfo() const noexcept override;
  std::u16string typeName() const override;

  Variant value(const Variant& key) const;
  void setValue(const Variant& key, const Variant& value);
  Variant contents(std::optional<Variant> key);
  void remove(const Variant& key);
  void removeAll();
  std::u16string sessionId() const;
  std::int32_t timeout() const;
  void setTimeout(std::int32_t minutes);
  void abandon();
  std::int32_t codePage() const;
  void setCodePage(std::int32_t cp);
  void lock() {}
  void unlock() {}
  std::int32_t count() const { return static_cast<std::int32_t>(store_.items().size()); }
  std::u16string key(std::int32_t index) const;
  Ref<Enumerator> newEnum() override;

 private:
  RequestContext& context_;
  ValueStore& store_;
  SessionState* session_;  // null for Application
};

// Server.HTMLEncode as IIS documents it: < > & " become entities, and so does every character
// from U+00A0 to U+00FF (as &#nnn;) when the code page is not UTF-8.
std::u16string htmlEncode(std::u16string_view text, int codePage);
// Server.URLEncode: letters and digits stay, a blank becomes "+", every other byte of the
// text in the code page becomes %XX.
std::u16string urlEncode(std::u16string_view text, int codePage);

}  // namespace vantorel::test::asp
