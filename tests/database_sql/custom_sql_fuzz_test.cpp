#include <gtest/gtest.h>

#include <random>
#include <string>

#include "database/custom_sql_analyzer.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

const std::int16_t kKinds[] = {kDbmsAccess,     kDbmsSqlServer, kDbmsMySql, kDbmsOracle,
                               kDbmsPostgreSql, kDbmsOther,     0};

const char16_t* const kSeeds[] = {
    (u"SELECT o.Qty AS q, [Unit Price] p, COUNT(*) FROM dbo.Orders o INNER JOIN (SELECT 1 x) d "
     u"ON o.id = d.x WHERE o.a = 'it''s' GROUP BY o.Qty"),
    u"WITH r AS (SELECT a FROM t) SELECT DISTINCT TOP 5 r.*, \"x\"\"y\" FROM r, `u` /* c */",
    u"TRANSFORM Sum(q) SELECT p FROM t GROUP BY p PIVOT m",
    u"(SELECT $a$ ) $a$, E'\\'' AS s, q'[x]' FROM a.b.c) UNION SELECT 1 -- end",
};

// Pieces that open or close something: the mutations most likely to upset a reader.
const char16_t* const kPieces[] = {
    u"(",  u")",   u"'", u"\"", u"[",   u"]",    u"`",       u"/*",       u"*/",     u"--",
    u"$$", u"$q$", u",", u".",  u"*",   u" AS ", u" FROM ",  u" SELECT ", u" WITH ", u" JOIN ",
    u"\\", u"#",   u"=", u"!",  u"q'<", u"N'",   u" UNION ", u" INTO ",   u" TOP "};

std::u16string mutate(std::u16string text, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 6);
  for (int i = 0; i < edits; ++i) {
    const std::size_t at = text.empty() ? 0 : random() % (text.size() + 1);
    switch (random() % 3) {
      case 0:
        text.insert(at, kPieces[random() % std::size(kPieces)]);
        break;
      case 1:
        if (!text.empty()) text.erase(std::min(at, text.size() - 1), 1 + random() % 8);
        break;
      default:
        text.insert(at, 1, static_cast<char16_t>(random() % 0x110));
        break;
    }
  }
  return text;
}

std::u16string randomText(std::mt19937& random) {
  std::u16string text;
  const std::size_t pieces = random() % 40;
  for (std::size_t i = 0; i < pieces; ++i) {
    if (random() % 2 == 0) {
      text += kPieces[random() % std::size(kPieces)];
    } else {
      text += static_cast<char16_t>(u' ' + random() % 95);
    }
  }
  return text;
}

// Either an analysis or a clear reason, and every question answered.
void expectSound(std::u16string_view sql, std::int16_t kind) {
  CustomSqlAnalyzer analyzer;
  const bool analysed = analyzer.analyse(sql, kind);
  EXPECT_NE(analysed, !analyzer.problem().empty()) << toUtf8(sql);
  for (const CustomSqlColumn& column : analyzer.columns()) {
    const CustomSqlColumn answer = analyzer.describeColumn(column.name);
    if (!column.sourceName.empty()) {
      EXPECT_FALSE(column.sourceTable.empty()) << toUtf8(sql);
    }
    if (!answer.sourceName.empty()) {
      EXPECT_FALSE(answer.sourceTable.empty()) << toUtf8(sql);
    }
  }
  analyzer.describeColumn(u"[x]");
  analyzer.describeColumn(u"");
}

TEST(CustomSqlFuzz, MutatedAndRandomTextsNeverUpsetTheAnalyser) {
  std::mt19937 random(20240613);
  for (int round = 0; round < 4000; ++round) {
    const std::u16string text =
        round % 4 == 0 ? randomText(random) : mutate(kSeeds[random() % std::size(kSeeds)], random);
    expectSound(text, kKinds[round % std::size(kKinds)]);
    if (HasFailure()) return;
  }
}

// Long lists, deep nesting and unterminated quotes end cleanly, without exhausting the stack.
TEST(CustomSqlFuzz, LargeInputsEndCleanly) {
  const auto analyseAll = [](std::size_t n) {
    std::u16string wide = u"SELECT ";
    std::u16string wideFrom = u" FROM ";
    std::u16string deep;
    for (std::size_t i = 0; i < n; ++i) {
      const std::u16string number = toU16(static_cast<long long>(i));
      wide += u"t" + number + u".c AS a" + number + u", s.t.c, ";
      wideFrom += u"s.t" + number + u" t" + number + u" JOIN s.t ON (x) JOIN ";
      deep += u"(";
    }
    const std::u16string deepClose(n, u')');
    const std::u16string texts[] = {
        wide + u"* " + wideFrom + u"u",
        u"SELECT " + deep + u"a" + deepClose + u" AS z, b FROM " + deep + u"t" + deepClose,
        u"WITH " + deep + u"SELECT" + deep,
        u"SELECT '" + std::u16string(n, u'[') + u" $a$ $a $a \"" + std::u16string(n, u'`'),
    };
    for (const std::u16string& sql : texts) {
      for (const std::int16_t kind : kKinds) {
        CustomSqlAnalyzer analyzer;
        analyzer.analyse(sql, kind);
        for (const CustomSqlColumn& column : analyzer.columns()) {
          analyzer.describeColumn(column.name);
        }
        analyzer.describeColumn(u"unknown");
      }
    }
  };
  analyseAll(40000);
}

}  // namespace
}  // namespace vantorel
