// Checks the schema scripts themselves: they apply in number order on a fresh database, declare
// only the column types the dataset layer maps, and point every foreign key at a key of its parent
// (SQLite accepts any reference at CREATE time and fails only later, on the first write).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using TRow = std::vector<std::string>;

// Host tables that a later script creates; a reference to one of them is checked once it exists.
const std::set<std::string> HostTables = {"EMPRESA", "ESTAB",   "PLANOESPEC", "PATBEM",
                                          "BANCO",   "AGENCIA", "CFOP"};

class TDatabase {
 public:
  TDatabase() {
    sqlite3* handle = nullptr;
    if (sqlite3_open(":memory:", &handle) != SQLITE_OK) ADD_FAILURE() << "cannot open a database";
    FHandle.reset(handle);
  }

  // Empty when the statements ran, else SQLite's message.
  std::string Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(FHandle.get(), sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return "";
    std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    return message;
  }

  std::vector<TRow> Query(const std::string& sql) {
    std::vector<TRow> rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(FHandle.get(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(FHandle.get());
      return rows;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      TRow row;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        auto text = sqlite3_column_text(stmt, i);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return rows;
  }

  std::vector<std::string> Tables() {
    std::vector<std::string> names;
    for (auto& row : Query("select name from sqlite_master where type = 'table' and name not like "
                           "'sqlite_%' order by name"))
      names.push_back(row[0]);
    return names;
  }

 private:
  struct TCloser {
    void operator()(sqlite3* handle) const { sqlite3_close(handle); }
  };
  std::unique_ptr<sqlite3, TCloser> FHandle;
};

std::vector<fs::path> ScriptsInOrder() {
  std::vector<fs::path> scripts;
  for (auto& entry : fs::directory_iterator(ULMO_SCHEMA_DIR))
    if (entry.path().extension() == ".sql") scripts.push_back(entry.path());
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Applies every script the way the runner does: each in one transaction, foreign keys on.
void ApplyAll(TDatabase& db) {
  ASSERT_EQ(db.Exec("PRAGMA foreign_keys = ON"), "");
  for (auto& script : ScriptsInOrder()) {
    std::string error = db.Exec("BEGIN;\n" + ReadFile(script) + "\nCOMMIT;");
    ASSERT_EQ(error, "") << script.filename();
  }
}

TEST(SchemaScripts, AreNumberedWithoutGapsAndEachAppliesInOneTransaction) {
  auto scripts = ScriptsInOrder();
  ASSERT_FALSE(scripts.empty());
  const std::regex name(R"((\d{4})_[a-z0-9_]+\.sql)");
  for (size_t i = 0; i < scripts.size(); ++i) {
    std::smatch match;
    std::string fileName = scripts[i].filename().string();
    ASSERT_TRUE(std::regex_match(fileName, match, name)) << fileName;
    EXPECT_EQ(std::stoi(match[1]), static_cast<int>(i + 1)) << fileName;
  }

  // A script with its own COMMIT would end the runner's transaction early.
  TDatabase db;
  ApplyAll(db);
  EXPECT_FALSE(db.Tables().empty());
}

TEST(SchemaScripts, DeclareOnlyTheColumnTypesTheDatasetLayerMaps) {
  TDatabase db;
  ApplyAll(db);
  const std::regex known(
      R"(SMALLINT|INTEGER|BIGINT|TEXT|DATE|TIMESTAMP|DOUBLE PRECISION|(VAR)?CHAR\(\d+\))",
      std::regex::icase);
  const std::regex numeric(R"(NUMERIC\((\d+), *(\d+)\))", std::regex::icase);
  for (auto& table : db.Tables()) {
    for (auto& column : db.Query("select name, type from pragma_table_info('" + table + "')")) {
      const std::string& type = column[1];
      std::smatch match;
      if (std::regex_match(type, match, numeric)) {
        int precision = std::stoi(match[1]), scale = std::stoi(match[2]);
        EXPECT_TRUE(scale <= 4 && scale <= precision) << table << "." << column[0] << " " << type;
      } else {
        EXPECT_TRUE(std::regex_match(type, known)) << table << "." << column[0] << " " << type;
      }
    }
  }
}

// SQLite refuses every write to the child ("foreign key mismatch") unless the referenced columns
// are exactly the parent's primary key or one of its unique indexes.
TEST(SchemaScripts, PointEveryForeignKeyAtAKeyOfItsParent) {
  TDatabase db;
  ApplyAll(db);
  auto tables = db.Tables();
  std::set<std::string> existing(tables.begin(), tables.end());

  auto keysOf = [&db](const std::string& table) {
    std::set<std::set<std::string>> keys;
    std::set<std::string> primary;
    for (auto& row : db.Query("select name from pragma_table_info('" + table + "') where pk > 0"))
      primary.insert(row[0]);
    keys.insert(primary);
    for (auto& index :
         db.Query("select name from pragma_index_list('" + table + "') where \"unique\" = 1")) {
      std::set<std::string> columns;
      for (auto& row : db.Query("select name from pragma_index_info('" + index[0] + "')"))
        columns.insert(row[0]);
      keys.insert(columns);
    }
    return keys;
  };

  int checked = 0;
  for (auto& table : tables) {
    std::map<std::string, std::pair<std::string, std::set<std::string>>> foreignKeys;
    for (auto& row : db.Query("select id, \"table\", \"to\" from pragma_foreign_key_list('" +
                              table + "')")) {
      foreignKeys[row[0]].first = row[1];
      foreignKeys[row[0]].second.insert(row[2]);
    }
    for (auto& [id, reference] : foreignKeys) {
      auto& [parent, columns] = reference;
      std::string where = table + " -> " + parent;
      if (!existing.count(parent)) {
        EXPECT_TRUE(HostTables.count(parent)) << where << ": no such table";
        continue;
      }
      // A reference without a column list means the parent's primary key.
      if (columns == std::set<std::string>{""}) columns = *keysOf(parent).begin();
      EXPECT_TRUE(keysOf(parent).count(columns)) << where << ": not a key of the parent";
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
