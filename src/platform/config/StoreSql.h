#pragma once

// Every SQL statement of the SQLite store, in one place: the schema, its
// upgrade, and the statements the store objects run. Internal to the store.
//
// A key is found by the folded full path of its parent and its own folded
// name. Parent paths are kept once, in `parents`, which gives each an id;
// `keys` is clustered on (parent id, folded name), so a point read is one
// look-up of the parent path and one of the key, and the rows of one parent
// are one range. The paths of a subtree are one range of `parents` (the key
// itself, then everything starting with its path and "\"), so reading,
// deleting or moving a subtree is a range joined to clustered ranges, every
// column it needs in the rows themselves. Siblings keep their store order in
// ord. The root's children have the parent "" (id 0), a row that always
// exists; a parents row exists exactly for each key that has children (or
// had: a key emptied as a view's root may keep it).
namespace StoreSql {

constexpr int SchemaVersion = 2;

constexpr const char *Schema = R"(
CREATE TABLE parents (
    path TEXT PRIMARY KEY,
    id INTEGER NOT NULL
) WITHOUT ROWID;
CREATE TABLE keys (
    parent INTEGER NOT NULL,
    fname TEXT NOT NULL,
    name TEXT NOT NULL,
    ord INTEGER NOT NULL,
    value,
    PRIMARY KEY (parent, fname)
) WITHOUT ROWID;
CREATE TABLE parent_ids (next INTEGER NOT NULL);
INSERT INTO parents VALUES ('', 0);
INSERT INTO parent_ids VALUES (1);
)";

// From version 1 (one table keyed by the folded parent path itself): the
// old table is set aside, the new ones made and filled, the old one dropped.
constexpr const char *UpgradeFrom1Begin = R"(
DROP INDEX keys_by_order;
ALTER TABLE keys RENAME TO keys_v1;
)";
constexpr const char *UpgradeFrom1Copy = R"(
INSERT INTO parents (path, id)
    SELECT parent, row_number() OVER (ORDER BY parent)
    FROM (SELECT DISTINCT parent FROM keys_v1 WHERE parent <> '');
INSERT INTO keys (parent, fname, name, ord, value)
    SELECT p.id, k.fname, k.name, k.ord, k.value
    FROM keys_v1 k JOIN parents p ON p.path = k.parent;
UPDATE parent_ids SET next = (SELECT max(id) + 1 FROM parents);
DROP TABLE keys_v1;
)";

constexpr const char *ApplicationId = "PRAGMA application_id";
constexpr const char *UserVersion = "PRAGMA user_version";
constexpr const char *CountSchemaObjects = "SELECT count(*) FROM sqlite_schema";

constexpr const char *Begin = "BEGIN";
constexpr const char *BeginWrite = "BEGIN IMMEDIATE";
constexpr const char *Commit = "COMMIT";
constexpr const char *Rollback = "ROLLBACK";
// Nested levels share one name: each RELEASE or ROLLBACK TO meets the
// innermost savepoint of that name.
constexpr const char *Savepoint = "SAVEPOINT nested";
constexpr const char *ReleaseSavepoint = "RELEASE nested";
constexpr const char *RollbackToSavepoint = "ROLLBACK TO nested";

// ?1 is a folded parent path, ?2 a folded name.
#define KIVO_PARENT_ID "(SELECT id FROM parents WHERE path = ?1)"
constexpr const char *SelectValue =
    "SELECT value FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = ?2";
constexpr const char *SelectName =
    "SELECT name FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = ?2";
constexpr const char *SelectNameAndValue =
    "SELECT name, value FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = ?2";
constexpr const char *UpdateValue =
    "UPDATE keys SET value = ?3 WHERE parent = " KIVO_PARENT_ID " AND fname = ?2";
constexpr const char *DeleteOne =
    "DELETE FROM keys WHERE parent = " KIVO_PARENT_ID " AND fname = ?2";
constexpr const char *RenameKey =
    "UPDATE keys SET fname = ?3, name = ?4 WHERE parent = " KIVO_PARENT_ID " AND fname = ?2";
// ?1 is the folded path of the parent itself.
constexpr const char *SelectChildNames =
    "SELECT name FROM keys WHERE parent = " KIVO_PARENT_ID " ORDER BY ord";
constexpr const char *CountChildren = "SELECT count(*) FROM keys WHERE parent = " KIVO_PARENT_ID;
constexpr const char *SelectParentId = "SELECT id FROM parents WHERE path = ?1";
#undef KIVO_PARENT_ID

// By parent id (?1).
constexpr const char *SelectOrder = "SELECT ord FROM keys WHERE parent = ?1 AND fname = ?2";
constexpr const char *NextOrder = "SELECT coalesce(max(ord), 0) + 1 FROM keys WHERE parent = ?1";
constexpr const char *InsertMissing =
    "INSERT INTO keys (parent, fname, name, ord) "
    "SELECT ?1, ?2, ?3, coalesce(max(ord), 0) + 1 FROM keys WHERE parent = ?1 "
    "ON CONFLICT (parent, fname) DO NOTHING";
constexpr const char *InsertKey =
    "INSERT INTO keys (parent, fname, name, ord, value) VALUES (?1, ?2, ?3, ?4, ?5)";
constexpr const char *UpdateValueById =
    "UPDATE keys SET value = ?3 WHERE parent = ?1 AND fname = ?2";
constexpr const char *DeleteOneById = "DELETE FROM keys WHERE parent = ?1 AND fname = ?2";
constexpr const char *InsertParent = "INSERT INTO parents (path, id) VALUES (?1, ?2)";
constexpr const char *NextParentId = "SELECT next FROM parent_ids";
constexpr const char *SetNextParentId = "UPDATE parent_ids SET next = ?1";

// Everything below the key whose folded path is ?1 (its own parents row
// included); ?2 and ?3 are ?1 + "\" and ?1 + "]", the bounds of its
// descendants' paths. One range of parents.path; the last condition drops
// siblings whose names merely start like the key's.
#define KIVO_BELOW "path >= ?1 AND path < ?3 AND (path = ?1 OR path >= ?2)"
constexpr const char *DeleteKeysBelow =
    "DELETE FROM keys WHERE parent IN (SELECT id FROM parents WHERE " KIVO_BELOW ")";
constexpr const char *DeleteParentsBelow = "DELETE FROM parents WHERE " KIVO_BELOW;
constexpr const char *MoveBelow =
    "UPDATE parents SET path = ?4 || substr(path, length(?1) + 1) WHERE " KIVO_BELOW;
// The subtree's rows grouped by parent, parents before their children
// (siblings in name order: the reader puts them in store order).
constexpr const char *SelectBelow =
    "SELECT p.path, k.ord, k.name, k.value FROM parents p "
    "JOIN keys k ON k.parent = p.id WHERE p." KIVO_BELOW " ORDER BY p.path";
#undef KIVO_BELOW
constexpr const char *SelectAll = "SELECT p.path, k.ord, k.name, k.value FROM parents p "
                                  "JOIN keys k ON k.parent = p.id ORDER BY p.path";
constexpr const char *DeleteAllKeys = "DELETE FROM keys";
constexpr const char *DeleteAllParents = "DELETE FROM parents WHERE path <> ''";

} // namespace StoreSql
