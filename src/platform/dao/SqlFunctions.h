#pragma once
// SQL functions of Jet's dialect that SQLite lacks, for the statements the program writes:
// year, month, day, datevalue, format (two arguments), cint, clng, csng; and the collation that
// compares texts with the case of every letter folded.
struct sqlite3;

namespace dao {

// Letter case not counting for any letter (compareNoCase). Registered on each connection and
// used only in the statements and TEMP triggers of that connection, never in the stored schema:
// a plain SQLite client must still read and write the file.
inline constexpr const char* kFoldedCollation = "dao_nocase";

// Registers the functions and the collation on the connection; throws dao::Error when SQLite refuses one.
void registerJetFunctions(sqlite3* db);

} // namespace dao
