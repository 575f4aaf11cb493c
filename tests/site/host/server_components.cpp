#include "site/host/server_components.hpp"

#include <memory>
#include <random>

#include "platform/automation/bind.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel::test::asp {

namespace {

// Nodes keep the document alive: a node list may outlive the script's document variable.
using SharedDocument = std::shared_ptr<xml::Document>;

class DomNodeList;

class DomNode final : public Object {
 public:
  DomNode(SharedDocument doc, xml::Node node) : doc_(std::move(doc)), node_(node) {}
  const ClassInfo& classInfo() const noexcept override;
  Variant getAttribute(const std::u16string& name) const {
    const xml::Attribute a = node_.attribute(toUtf8(name).c_str());
    if (!a) return Variant::null();
    return Variant(fromUtf8(a.value()));
  }
  std::u16string nodeName() const { return fromUtf8(node_.name()); }
  std::u16string text() const { return fromUtf8(node_.child_value()); }
  Variant selectNodes(const std::u16string& path) const;
  Variant selectSingleNode(const std::u16string& path) const;

 private:
  SharedDocument doc_;
  xml::Node node_;
};

class DomNodeList final : public Object {
 public:
  explicit DomNodeList(std::vector<Variant> nodes) : nodes_(std::move(nodes)) {}
  const ClassInfo& classInfo() const noexcept override;
  std::int32_t length() const { return static_cast<std::int32_t>(nodes_.size()); }
  Variant item(std::int32_t i) const {
    if (i < 0 || i >= length()) return Variant::nothing();
    return nodes_[static_cast<std::size_t>(i)];
  }
  Ref<Enumerator> newEnum() override {
    auto array = SafeArray::fromValues(nodes_);
    return makeArrayEnumerator(Variant(array));
  }

 private:
  std::vector<Variant> nodes_;
};

Variant select(const SharedDocument& doc, const xml::Node& from, const std::u16string& path,
               bool single) {
  try {
    const pugi::xpath_node_set found = from.select_nodes(toUtf8(path).c_str());
    std::vector<Variant> nodes;
    for (const pugi::xpath_node& n : found) {
      if (n.node()) nodes.emplace_back(makeRef<DomNode>(doc, n.node()));
      if (single && !nodes.empty()) return nodes.front();
    }
    if (single) return Variant::nothing();
    return Variant(makeRef<DomNodeList>(std::move(nodes)));
  } catch (const pugi::xpath_exception&) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
}

Variant DomNode::selectNodes(const std::u16string& path) const {
  return select(doc_, node_, path, false);
}
Variant DomNode::selectSingleNode(const std::u16string& path) const {
  return select(doc_, node_, path, true);
}

const ClassInfo& DomNode::classInfo() const noexcept {
  static const ClassInfo info(u"IXMLDOMElement", [](ClassInfo& c) {
    ClassBuilder<DomNode>(c)
        .method<&DomNode::getAttribute>(u"getAttribute")
        .get<&DomNode::nodeName>(u"nodeName")
        .get<&DomNode::text>(u"text")
        .method<&DomNode::selectNodes>(u"selectNodes")
        .method<&DomNode::selectSingleNode>(u"selectSingleNode");
  });
  return info;
}

const ClassInfo& DomNodeList::classInfo() const noexcept {
  static const ClassInfo info(u"IXMLDOMNodeList", [](ClassInfo& c) {
    ClassBuilder<DomNodeList>(c)
        .get<&DomNodeList::length>(u"length")
        .get<&DomNodeList::item>(u"item")
        .defaultMember(u"item")
        .enumerator<&DomNodeList::newEnum>();
  });
  return info;
}

class DomDocument final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  bool async() const { return async_; }
  void setAsync(bool v) { async_ = v; }
  void setProperty(const std::u16string&, const Variant&) {}
  bool load(const std::u16string& path) {
    doc_ = std::make_shared<xml::Document>();
    loaded_ = !xml::parseFile(*doc_, path, xml::ReadMode::Exact).has_value();
    return loaded_;
  }
  Variant documentElement() const {
    if (!loaded_) return Variant::nothing();
    return Variant(makeRef<DomNode>(doc_, doc_->document_element()));
  }
  Variant selectNodes(const std::u16string& path) const {
    return select(doc_, *doc_, path, false);
  }
  Variant selectSingleNode(const std::u16string& path) const {
    return select(doc_, *doc_, path, true);
  }

 private:
  SharedDocument doc_ = std::make_shared<xml::Document>();
  bool async_ = true;
  bool loaded_ = false;
};

const ClassInfo& DomDocument::classInfo() const noexcept {
  static const ClassInfo info(u"DOMDocument", [](ClassInfo& c) {
    ClassBuilder<DomDocument>(c)
        .prop<&DomDocument::async, &DomDocument::setAsync>(u"async")
        .method<&DomDocument::setProperty>(u"setProperty")
        .method<&DomDocument::load>(u"load")
        .get<&DomDocument::documentElement>(u"documentElement")
        .method<&DomDocument::selectNodes>(u"selectNodes")
        .method<&DomDocument::selectSingleNode>(u"selectSingleNode");
  });
  return info;
}

class TypeLib final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  // "{XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX}" from the system's random source.
  std::u16string guid() const {
    static std::random_device random;
    static const char* hex = "0123456789ABCDEF";
    std::string s = "{";
    for (int i = 0; i < 32; ++i) {
      if (i == 8 || i == 12 || i == 16 || i == 20) s += '-';
      s += hex[random() & 15];
    }
    s += "}";
    return fromUtf8(s);
  }
};

const ClassInfo& TypeLib::classInfo() const noexcept {
  static const ClassInfo info(u"TypeLib", [](ClassInfo& c) {
    ClassBuilder<TypeLib>(c).get<&TypeLib::guid>(u"Guid");
  });
  return info;
}

}  // namespace

Ref<Object> createServerComponent(std::u16string_view progId) {
  const NoCaseEqual same;
  if (same(progId, u"MSXML2.DOMDocument") || same(progId, u"MSXML2.DOMDocument.6.0") ||
      same(progId, u"Microsoft.XMLDOM")) {
    return makeRef<DomDocument>();
  }
  if (same(progId, u"Scriptlet.TypeLib")) return makeRef<TypeLib>();
  return nullptr;
}

}  // namespace vantorel::test::asp
