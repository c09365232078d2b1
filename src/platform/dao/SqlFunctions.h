#pragma once
// SQL functions of Jet's dialect that SQLite lacks, for the statements the program writes:
// year, month, day, datevalue, format (two arguments), cint, clng, csng.
struct sqlite3;

namespace dao {

// Registers the functions on the connection; throws dao::Error when SQLite refuses one.
void registerJetFunctions(sqlite3* db);

} // namespace dao
