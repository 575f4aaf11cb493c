#include "site/kinds_database.hpp"

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test::site {

namespace {

// The column definitions of "kinds" after its key, and the extra ones of each server.
struct KindsSchema {
  const char* key;
  const char* columns;
  const char* extra;
};

KindsSchema schemaOf(Dbms dbms) {
  switch (dbms) {
    case Dbms::Sqlite:
      return {"INTEGER PRIMARY KEY AUTOINCREMENT",
              "small_n SMALLINT, big_n BIGINT, price DECIMAL(12,2), ratio DOUBLE, flag BOOLEAN, "
              "born DATE, seen DATETIME, at_time TIME, code CHAR(4), data BLOB",
              ""};
    case Dbms::Postgres:
      return {"SERIAL PRIMARY KEY",
              "small_n SMALLINT, big_n BIGINT, price DECIMAL(12,2), ratio DOUBLE PRECISION, "
              "flag BOOLEAN, born DATE, seen TIMESTAMP, at_time TIME, code CHAR(4), data BYTEA",
              ", rating mood"};
    case Dbms::MariaDb:
      return {"INT AUTO_INCREMENT PRIMARY KEY",
              "small_n SMALLINT, big_n BIGINT, price DECIMAL(12,2), ratio DOUBLE, flag TINYINT(1), "
              "born DATE, seen DATETIME, at_time TIME, code CHAR(4), data LONGBLOB",
              ", rating ENUM('G','PG','Say \"hi\"','a%>b'), features SET('Trailers','Deleted "
              "Scenes','Commentaries')"};
  }
  return {};
}

// Genres and the tracks that refer to them, titles outside ASCII, and visits on the edges of
// March 2024, whose "made" the database fills. SQLite's visits keep their times in other forms
// of its date text as well: a day without a time, a "T", milliseconds.
template <typename Run>
void resetResults(const ShopDatabase& db, const Run& run) {
  const KindsSchema s = schemaOf(db.dbms);
  run("CREATE TABLE genre (genre_id INT PRIMARY KEY, name VARCHAR(40))");
  run("INSERT INTO genre VALUES (1, 'Rock'), (2, 'Jazz')");
  run(std::string("CREATE TABLE track (track_id ") + s.key +
      ", title VARCHAR(60), genre_id INTEGER, FOREIGN KEY (genre_id) REFERENCES genre (genre_id))");
  run("INSERT INTO track (title, genre_id) VALUES ('É que Nessa Encarnação', 1), "
      "('Plain Song', 1)");
  const bool pg = db.dbms == Dbms::Postgres;
  const char* stamp = pg ? "TIMESTAMP" : "DATETIME";
  run(std::string("CREATE TABLE visit (id ") + s.key +
      ", label VARCHAR(20), day_on DATE, seen_at " + stamp + ", made " + stamp +
      " NOT NULL DEFAULT " + (pg ? "now()" : "CURRENT_TIMESTAMP") + ")");
  const bool lite = db.dbms == Dbms::Sqlite;
  run(std::string("INSERT INTO visit (label, day_on, seen_at) VALUES ") +
      "('v-before', '2024-02-29', '" + (lite ? "2024-02-29 23:59:59.999" : "2024-02-29 23:59:59") +
      "'), " + "('v-first', '2024-03-01', '" + (lite ? "2024-03-01" : "2024-03-01 00:00:00") +
      "'), " + "('v-last', '2024-03-31', '" +
      (lite ? "2024-03-31T23:59:59" : "2024-03-31 23:59:59") +
      "'), ('v-after', '2024-04-01', '2024-04-01 00:00:00')");
  // Rows alike in every column but their key and a long text, put in out of the key's order.
  run("CREATE TABLE tie (id INTEGER PRIMARY KEY, word VARCHAR(10), body TEXT)");
  std::string ties = "INSERT INTO tie VALUES ";
  for (int i = 1; i <= kTies; ++i) {
    const int id = (i * 7) % kTies + 1;
    ties += (i > 1 ? ", (" : "(") + std::to_string(id) + ", 'same', '" + tieBody(id) + "')";
  }
  run(ties);
}

// Values on the edges of what each column kind holds, as the database stores them: blank and
// empty text, the ends of the whole-number ranges, exact numbers beyond a Double, fractions of
// a second, years before 1000, MariaDB's times past a day and below nought, and text whose line
// breaks and blanks a browser would change.
template <typename Run>
void resetEdges(const ShopDatabase& db, const Run& run) {
  const char* memo = "'\nstarts with a line break\r\nand has CR LF', ";
  switch (db.dbms) {
    case Dbms::Sqlite:
      run("CREATE TABLE edges (id INTEGER PRIMARY KEY, t_null VARCHAR(40), t_req VARCHAR(40) NOT "
          "NULL, big BIGINT, small SMALLINT, num NUMERIC(30,10), exact DECIMAL(12,2), real_v "
          "DOUBLE, stamp DATETIME, on_day DATE, tod TIME, memo TEXT, flag BOOLEAN)");
      run(std::string("INSERT INTO edges VALUES (1, '', '', 9223372036854775807, -32768, ") +
          "'12345678901234567890.0123456789', 0.1, 0.1, '2024-01-02T10:30:00.123Z', 2460311.5, "
          "'08:15:30.5', " +
          memo + "1)");
      run("INSERT INTO edges VALUES (2, NULL, '  padded  ', -9223372036854775808, 32767, NULL, "
          "-0.01, 1e300, '2024-02-29 23:59:59.999', '0099-01-01', '23:59:59', 'lone\rCR', 0)");
      break;
    case Dbms::Postgres:
      run("CREATE TABLE edges (id INTEGER PRIMARY KEY, t_null VARCHAR(40), t_req VARCHAR(40) NOT "
          "NULL, big BIGINT, small SMALLINT, num NUMERIC(30,10), exact NUMERIC(12,2), real_v "
          "DOUBLE PRECISION, stamp TIMESTAMP, stamptz TIMESTAMPTZ, on_day DATE, tod TIME, memo "
          "TEXT, "
          "flag BOOLEAN, uid UUID)");
      run(std::string("INSERT INTO edges VALUES (1, '', '', 9223372036854775807, -32768, ") +
          "12345678901234567890.0123456789, 0.1, 0.1, '2024-01-02 10:30:00.123456', "
          "'2024-01-02 10:30:00.123+00', '0099-01-01', '08:15:30.5', E" +
          memo + "TRUE, 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11')");
      run("INSERT INTO edges VALUES (2, NULL, '  padded  ', -9223372036854775808, 32767, NULL, "
          "-0.01, 1e300, '2024-02-29 23:59:59.999', NULL, '2024-02-29', '23:59:59', E'lone\rCR', "
          "FALSE, NULL)");
      break;
    case Dbms::MariaDb:
      run("CREATE TABLE edges (id INTEGER PRIMARY KEY, t_null VARCHAR(40), t_req VARCHAR(40) NOT "
          "NULL, big BIGINT, ubig BIGINT UNSIGNED, small SMALLINT, num DECIMAL(30,10), exact "
          "DECIMAL(12,2), real_v DOUBLE, stamp DATETIME(6), on_day DATE, tod TIME(3), memo TEXT, "
          "flag TINYINT(1), members SET('a','b','c'))");
      run(std::string("INSERT INTO edges VALUES (1, '', '', 9223372036854775807, ") +
          "18446744073709551615, -32768, 12345678901234567890.0123456789, 0.1, 0.1, "
          "'2024-01-02 10:30:00.123456', '0099-01-01', '-01:30:00', " +
          memo + "1, '')");
      run("INSERT INTO edges VALUES (2, NULL, '  padded  ', -9223372036854775808, "
          "9223372036854775808, 32767, NULL, -0.01, 1e300, '2024-02-29 23:59:59.999', "
          "'2024-02-29', '838:59:59', 'lone\rCR', 0, 'a,c')");
      run("INSERT INTO edges (id, t_req, tod, members) VALUES (3, 'x', '08:15:30.123', NULL)");
      break;
  }
}

}  // namespace

std::string placeLabel(int id) {
  std::string digits = std::to_string(id);
  return "Place " + std::string(3 - digits.size(), '0') + digits;
}

std::string tieBody(int id) {
  return std::string("tie-") + (id < 10 ? "0" : "") + std::to_string(id);
}

std::vector<ShopDatabase> kindsDatabases(TestDatabases& db) {
  return databasesNamed(db, "kinds");
}

std::vector<std::string> kindsColumns(const ShopDatabase& db) {
  std::vector<std::string> columns = {"id",    "name", "note", "motto", "small_n", "big_n", "price",
                                      "ratio", "flag", "born", "seen",  "at_time", "code",  "data"};
  if (db.dbms == Dbms::Postgres) columns.emplace_back("rating");
  if (db.dbms == Dbms::MariaDb) {
    columns.emplace_back("rating");
    columns.emplace_back("features");
  }
  return columns;
}

void resetKinds(const ShopDatabase& db) {
  data::Connection c(db.connectionString);
  auto run = [&](const std::string& sql) { data::execute(c, fromUtf8(sql)); };
  const KindsSchema s = schemaOf(db.dbms);
  run("DROP VIEW IF EXISTS user_list");
  for (const char* table : {"kinds", "notes", "users", "gone", "visits", "places", "track", "genre",
                            "visit", "tie", "edges"}) {
    run(std::string("DROP TABLE IF EXISTS ") + table);
  }
  if (db.dbms == Dbms::Postgres) {
    run("DROP TYPE IF EXISTS mood");
    run("CREATE TYPE mood AS ENUM ('G', 'PG', 'NC-17')");
  }
  const std::string hostile = std::string("'") + kHostileDefault + "'";
  run(std::string("CREATE TABLE kinds (id ") + s.key +
      ", name VARCHAR(40) NOT NULL, note TEXT, motto VARCHAR(60) DEFAULT " + hostile + ", " +
      s.columns + s.extra + ")");
  const bool pg = db.dbms == Dbms::Postgres;
  const std::string yes = pg ? "TRUE" : "1";
  const std::string bytes = pg ? "'\\x0102ff'" : "X'0102ff'";
  std::string extraNames;
  std::string extraFull;
  std::string extraEmpty;
  if (db.dbms == Dbms::Postgres) {
    extraNames = ", rating";
    extraFull = ", 'PG'";
    extraEmpty = ", NULL";
  } else if (db.dbms == Dbms::MariaDb) {
    extraNames = ", rating, features";
    extraFull = ", 'Say \"hi\"', 'Trailers,Deleted Scenes'";
    extraEmpty = ", 'a%>b', NULL";
  }
  run("INSERT INTO kinds (name, note, motto, small_n, big_n, price, ratio, flag, born, seen, "
      "at_time, code, data" +
      extraNames +
      ") VALUES ('Ærøskøbing – 東京 – Ελλάδα', 'A note, with \"quotes\" "
      "& <b>marks</b>', 'plain', 12, 5000000000, 19.25, 2.5, " +
      yes +
      ", '2024-02-29', "
      "'2024-03-01 10:30:00', '08:15:00', 'AB', " +
      bytes + extraFull + ")");
  run("INSERT INTO kinds (name, motto" + extraNames + ") VALUES ('Empty', NULL" + extraEmpty + ")");
  const std::string key = s.key;
  run("CREATE TABLE users (user_id INTEGER PRIMARY KEY, login VARCHAR(40), pwd VARCHAR(64))");
  // "secret" as its MD5 digest.
  run("INSERT INTO users VALUES (1, 'ann', '5ebe2294ecd0e0f08eab7690d2a6ee69'), (2, 'bob', "
      "'5ebe2294ecd0e0f08eab7690d2a6ee69')");
  // A view of the users table, password and all.
  run("CREATE VIEW user_list AS SELECT * FROM users");
  run("CREATE TABLE notes (id " + key + ", owner_id INTEGER, body VARCHAR(60))");
  run("INSERT INTO notes (owner_id, body) VALUES (1, 'ann first'), (1, 'ann second'), (2, "
      "'bob private')");
  run("CREATE TABLE gone (id INTEGER PRIMARY KEY, label VARCHAR(20))");
  // A lookup table too large for a list, and the visits that name its rows and the users'.
  std::string places = "INSERT INTO places (id, label) VALUES ";
  for (int i = 1; i <= kPlaces; ++i) {
    places += (i > 1 ? ", (" : "(") + std::to_string(i) + ", '" + placeLabel(i) + "')";
  }
  run("CREATE TABLE places (id INTEGER PRIMARY KEY, label VARCHAR(20))");
  run(places);
  std::string visits = "INSERT INTO visits (place_id, user_id, day, amount) VALUES ";
  for (int i = 1; i <= kVisits; ++i) {
    const std::string day = (i < 10 ? "0" : "") + std::to_string(i);
    visits += (i > 1 ? ", (" : "(") + std::to_string(1 + (i - 1) / 2) + ", " +
              std::to_string(1 + i % 2) + ", '2024-01-" + day + "', " + std::to_string(i) + ")";
  }
  run("CREATE TABLE visits (id " + key +
      ", place_id INTEGER, user_id INTEGER, day DATE, amount INTEGER, note VARCHAR(40))");
  run(visits);
  resetResults(db, run);
  resetEdges(db, run);
}

}  // namespace vantorel::test::site
