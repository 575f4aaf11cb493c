// The test host's Request reads a posted body as IIS documents it: BinaryRead gives the bytes
// in order and TotalBytes their number, and a page uses either Request.Form or BinaryRead,
// never both.
#include <gtest/gtest.h>

#include <fstream>

#include "site/host/asp_site.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test::site {
namespace {

TEST(AspRequest, BinaryReadAndFormExcludeEachOther) {
  TempDir dir;
  struct Case {
    const char* script;
    const char* contentType;
    const char* written;  // nullptr: the page ends with a script error
  };
  const char* const form = "application/x-www-form-urlencoded";
  for (const Case& c : {
           Case{"n = 100 : b = Request.BinaryRead(n) : Response.Write n & \",\" & Request.TotalBytes & \",\" & LenB(b)", form, "7,7,7"},
           Case{"n = 3 : b = Request.BinaryRead(n) : m = 10 : c = Request.BinaryRead(m) : "
                "Response.Write n & \",\" & m & \",\" & Request.TotalBytes & \",\" & AscB(MidB(c, 1, 1))", form, "3,4,7,38"},
           Case{"Response.Write Request.Form(\"b\") & Request.TotalBytes", form, "27"},
           Case{"x = Request.Form(\"a\") : n = 1 : b = Request.BinaryRead(n)", form, nullptr},
           Case{"n = 1 : b = Request.BinaryRead(n) : x = Request.Form(\"a\")", form, nullptr},
           Case{"n = 1 : b = Request.BinaryRead(n) : x = Request(\"a\")", form, nullptr},
           Case{"Response.Write IsEmpty(Request.Form(\"a\"))", "multipart/form-data; boundary=x", "True"},
       }) {
    std::ofstream(dir.path() / "page.asp", std::ios::binary) << "<% " << c.script << " %>";
    asp::AspSite site(dir.path());
    asp::HttpRequest request;
    request.method = "POST";
    request.path = "/page.asp";
    request.contentType = c.contentType;
    request.body = "a=1&b=2";
    const asp::PageRun run = site.send(request);
    if (c.written) {
      EXPECT_EQ(run.error, "") << c.script;
      EXPECT_EQ(run.text(), c.written) << c.script;
    } else {
      EXPECT_NE(run.error, "") << c.script;
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
