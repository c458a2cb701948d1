#pragma once

class JournalConnection;

// The tables of the journal and the numbered steps that build them. A journal records the number
// of the last step applied in journal_schema; opening applies the steps it lacks, in one
// transaction, and refuses a journal whose number is above the last step this program knows.
namespace journalschema {

// The number of the last step.
int latestVersion();

// The journal's schema version: 0 for an empty database. Reads only.
int versionOf(JournalConnection& db);

// Applies the steps above the journal's version up to target (the latest by default), all or
// none. Throws JournalError (NewerSchema) for a journal above the latest version, before anything
// is written.
void migrate(JournalConnection& db, int target = -1);

} // namespace journalschema
