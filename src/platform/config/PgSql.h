#pragma once

// Every SQL statement of the PostgreSQL store, in one place. The layout is
// the SQLite store's (see StoreSql): parent paths kept once in `parents`,
// keys clustered by (parent id, folded name). Differences: a value is two
// columns (text or integer), parent ids come from a sequence, and a tree is
// stored in one statement per table from arrays. Paths compare byte by byte
// (COLLATE "C") so that a subtree is one index range under any database
// collation. The tables live in a schema of their own (the search path is
// set to it on connecting). Internal to the store.
namespace PgSql {

constexpr int SchemaVersion = 2;
constexpr const char *Application = "kivo configuration store";
// Every write transaction takes this lock first: writers queue.
constexpr const char *WriterLock = "SELECT pg_advisory_xact_lock(4849565700)";

constexpr const char *Schema = R"(
CREATE TABLE parents (
    path text COLLATE "C" PRIMARY KEY,
    id bigint NOT NULL UNIQUE
);
CREATE TABLE keys (
    parent bigint NOT NULL,
    fname text COLLATE "C" NOT NULL,
    name text NOT NULL,
    ord bigint NOT NULL,
    text_value text,
    int_value integer,
    PRIMARY KEY (parent, fname)
);
CREATE SEQUENCE parent_ids;
CREATE TABLE store_identity (application text NOT NULL, version integer NOT NULL);
INSERT INTO parents VALUES ('', 0);
)";
constexpr const char *InsertIdentity = "INSERT INTO store_identity VALUES ($1, $2::integer)";

// Whether the schema exists; then whether it has our identity table, and
// how many relations it holds.
constexpr const char *InspectSchema =
    "SELECT n.oid IS NOT NULL, to_regclass('store_identity') IS NOT NULL, "
    "(SELECT count(*) FROM pg_class WHERE relnamespace = n.oid) "
    "FROM (SELECT $1::text AS name) wanted LEFT JOIN pg_namespace n ON n.nspname = wanted.name";
constexpr const char *SelectIdentity = "SELECT application, version FROM store_identity";
constexpr const char *SchemaOption = "SELECT current_setting('kivo.schema', true)";

constexpr const char *Begin = "BEGIN";
constexpr const char *BeginSnapshot = "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY";
constexpr const char *Commit = "COMMIT";
constexpr const char *Rollback = "ROLLBACK";
constexpr const char *Savepoint = "SAVEPOINT nested";
constexpr const char *ReleaseSavepoint = "RELEASE nested";
constexpr const char *RollbackToSavepoint = "ROLLBACK TO nested";

// $1 is a folded parent path, $2 a folded name; a value is $3 (text) and
// $4 (integer), or as columns text_value, int_value.
#define KIVO_PARENT_ID "(SELECT id FROM parents WHERE path = $1::text)"
constexpr const char *SelectValue =
    "SELECT text_value, int_value FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = $2::text";
constexpr const char *SelectName =
    "SELECT name FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = $2::text";
constexpr const char *SelectNameAndValue = "SELECT name, text_value, int_value FROM keys "
                                           "WHERE parent = " KIVO_PARENT_ID " AND fname = $2::text";
constexpr const char *UpdateValue =
    "UPDATE keys SET text_value = $3::text, int_value = "
    "$4::integer WHERE parent = " KIVO_PARENT_ID " AND fname = $2::text";
constexpr const char *DeleteOne =
    "DELETE FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = $2::text";
constexpr const char *RenameKey = "UPDATE keys SET fname = $3::text, name = $4::text "
                                  "WHERE parent = " KIVO_PARENT_ID " AND fname = $2::text";
// $1 is the folded path of the parent itself.
constexpr const char *SelectChildNames =
    "SELECT name FROM keys WHERE parent = " KIVO_PARENT_ID " ORDER BY ord";
constexpr const char *CountChildren = "SELECT count(*) FROM keys WHERE parent = " KIVO_PARENT_ID;
constexpr const char *SelectParentId = "SELECT id FROM parents WHERE path = $1::text";
#undef KIVO_PARENT_ID

// By parent id ($1).
constexpr const char *SelectOrder =
    "SELECT ord FROM keys WHERE parent = $1::bigint AND fname = $2::text";
constexpr const char *NextOrder =
    "SELECT coalesce(max(ord), 0) + 1 FROM keys WHERE parent = $1::bigint";
constexpr const char *InsertMissing =
    "INSERT INTO keys (parent, fname, name, ord) "
    "SELECT $1::bigint, $2::text, $3::text, coalesce(max(ord), 0) + 1 FROM keys "
    "WHERE parent = $1::bigint ON CONFLICT (parent, fname) DO NOTHING";
constexpr const char *UpdateValueById =
    "UPDATE keys SET text_value = $3::text, int_value = "
    "$4::integer WHERE parent = $1::bigint AND fname = $2::text";
constexpr const char *DeleteOneById =
    "DELETE FROM keys WHERE parent = $1::bigint AND fname = $2::text";
constexpr const char *InsertParent = "INSERT INTO parents (path, id) "
                                     "VALUES ($1::text, nextval('parent_ids')) RETURNING id";
// $1 ids, one round trip.
constexpr const char *ReserveParentIds =
    "SELECT nextval('parent_ids') FROM generate_series(1, $1::integer)";
constexpr const char *InsertParents =
    "INSERT INTO parents (path, id) SELECT * FROM unnest($1::text[], $2::bigint[])";
constexpr const char *InsertKeys =
    "INSERT INTO keys (parent, fname, name, ord, text_value, int_value) SELECT * FROM "
    "unnest($1::bigint[], $2::text[], $3::text[], $4::bigint[], $5::text[], $6::integer[])";

// Everything below the key whose folded path is $1 (its own parents row
// included); $2 and $3 are $1 + "\" and $1 + "]", as in StoreSql.
#define KIVO_BELOW "path >= $1::text AND path < $3::text AND (path = $1::text OR path >= $2::text)"
constexpr const char *DeleteKeysBelow =
    "DELETE FROM keys WHERE parent IN (SELECT id FROM parents WHERE " KIVO_BELOW ")";
constexpr const char *DeleteParentsBelow = "DELETE FROM parents WHERE " KIVO_BELOW;
constexpr const char *MoveBelow =
    "UPDATE parents SET path = $4::text || substr(path, length($1::text) + 1) WHERE " KIVO_BELOW;
constexpr const char *SelectBelow =
    "SELECT p.path, k.ord, k.name, k.text_value, k.int_value FROM parents p "
    "JOIN keys k ON k.parent = p.id WHERE p." KIVO_BELOW " ORDER BY p.path";
#undef KIVO_BELOW
constexpr const char *SelectAll = "SELECT p.path, k.ord, k.name, k.text_value, k.int_value "
                                  "FROM parents p JOIN keys k ON k.parent = p.id ORDER BY p.path";
constexpr const char *DeleteAllKeys = "DELETE FROM keys";
constexpr const char *DeleteAllParents = "DELETE FROM parents WHERE path <> ''";

} // namespace PgSql
