#include <gtest/gtest.h>

#include "agp/agp.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {
namespace {

// A project object made while an earlier generation's objects are still held starts clean.
TEST(AgpStartUp, DropsTheObjectsOfAnEarlierGeneration) {
  ScriptEngine() = makeRef<AGScript>();
  TemplateCache() = makeRef<AGPCache>();
  auto project = makeRef<AGP>();
  EXPECT_FALSE(ScriptEngine());
  EXPECT_FALSE(TemplateCache());
}

}  // namespace
}  // namespace vantorel
