// The streamed markup against the same elements built as a document and saved in the raw layout:
// the bytes of every attribute value escaped, CDATA split, empty and open elements.
#include <gtest/gtest.h>

#include <string>

#include "platform/xml/markup_writer.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel::xml {
namespace {

TEST(MarkupWriter, WritesTheBytesOfTheSavedDocument) {
  std::string everyByte;
  for (int c = 1; c < 256; ++c) everyByte.push_back(static_cast<char>(c));
  const char* const scripts[] = {"", "plain", "a]]>b]]>", "]]>", "x]]", "ends ]]"};

  Document doc;
  Node root = doc.append_child("Root");
  root.append_attribute("a").set_value(everyByte.c_str());
  root.append_attribute("b").set_value("");
  root.append_child(kTextNode).set_value("\r\n");
  for (const char* script : scripts) root.append_child(kCDataNode).set_value(script);
  root.append_child("Empty").append_attribute("x").set_value("<&\"'>");

  std::string streamed;
  // A buffer of a few bytes: every piece reaches the sink on its own.
  MarkupWriter out([&](std::string_view bytes) { streamed += bytes; }, 4);
  StartTag tag;
  tag.reset("Root");
  tag.add("a", everyByte);
  // Replaced by a longer value, then by a shorter one: a's text must come through untouched.
  tag.set("b", "short");
  tag.set("b", "replaced below by a longer one");
  tag.set("b", "");
  out.open(tag);
  out.lineBreak();
  for (const char* script : scripts) out.cdata(script);
  tag.reset("Empty");
  tag.add("x", "<&\"'>");
  out.empty(tag);
  out.close("Root");
  out.flush();
  EXPECT_EQ(streamed, documentBytes(doc));
}

}  // namespace
}  // namespace vantorel::xml
