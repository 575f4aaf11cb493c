#pragma once
// The main loop of a generation: the database copy, each table's pages followed by its fields'
// pages, the project-level files, the "other" and "simple" controls, then the "copy" controls.
// The check pass walks the same way, writes nothing, and counts the outputs already in place.
#include <cstdint>
#include <string_view>

namespace vantorel {

class GenerationRun;

class AGP;
class AGPField;
class AGPTable;

// Runs the walk. Before any page, tables without fields or with a load error are switched off
// and the variable names within each generated table are made unique. In generation mode a
// page error ends the walk at the end of its table or field with count 0 and the message as
// the run's failure; the check pass never stops on one. A failure the run went on after ends
// the generation pass after the database copy. A count beyond 16 bits raises overflow (6).
void GenerateAll(GenerationRun& run, bool checkOnly, std::int16_t& count);

// The table variable, the chart variables and the field parameters of one table share a name
// space (without regard to case): later duplicates get "_1", "_2", ... appended.
void SetUniqueVarNames(AGPTable& table);

// The pages of one table (the generation pass returns 0), or, in the check pass, how many of
// them exist. The user's cancel is polled before each page. A page error stops the table and
// becomes the run's failure, with ProductTitle ": Generate Table <table> <id> page error" CR LF
// in front; a field's page error becomes it as it is, and the field's other pages are made.
std::int16_t GenerateTableFiles(GenerationRun& run, AGPTable& table, bool checkOnly);
// The same for the "field" controls of one field of CurrentTable. A table whose output list is
// empty (no check pass ran) counts as having its outputs switched on.
std::int16_t GenerateFieldFiles(GenerationRun& run, AGPField& field, bool checkOnly);

// The hook each written output reports to; nothing is recorded.
void WriteLog(std::u16string_view line);

}  // namespace vantorel
