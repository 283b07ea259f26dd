#pragma once
// A view over one dBase table file: the record store the program works on.
// Several views may be open over one file; each reads the file itself, and a
// record is written to the file when post returns, so another view sees it
// after its refresh. Errors are thrown as StoreError with a Russian message
// that names the file.

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/DbfTypes.h"

namespace kv::store {

class StoreError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class TableState { Closed, Browse, Edit, Insert };

// A remembered record (its physical number in the file); -1 is none.
using Bookmark = std::int64_t;

class Table : public QObject
{
    Q_OBJECT
public:
    explicit Table(QObject *parent = nullptr);
    ~Table() override;

    // --- design settings (may be set while closed) -------------------------
    // File name relative to the current folder, or absolute. An existing file
    // whose name differs only in letter case is found (tables copied from
    // Windows).
    void setFileName(const std::string &fileName);
    const std::string &fileName() const;
    // Set while closed: the next open holds the file alone and fails when any
    // other view, in this or another process, has it open.
    void setExclusive(bool exclusive);
    bool exclusive() const;
    void setReadOnly(bool readOnly);
    bool readOnly() const;
    // "NBILETA=5", "NGRUPPY=3", "NGRUPPY = 3"; while filtered and not empty
    // only matching records are shown; empty shows all. Survives close/open.
    void setFilter(const std::string &filterText);
    const std::string &filter() const;
    void setFiltered(bool filtered);
    bool filtered() const;

    // --- life ---------------------------------------------------------------
    void open();
    void close(); // drops a pending edit; runs afterClose
    bool isOpen() const;
    TableState state() const;
    bool isEditing() const; // Edit or Insert

    // --- navigation (a pending edit is posted if changed, else cancelled) --
    void first();
    void last();
    void next();
    void prior();
    bool bof() const;
    bool eof() const;
    int recordCount() const; // records shown, filter applied
    // 0-based among shown records; -1 when none, and while a new record is
    // being inserted (it gets its row, the last one, when posted).
    int currentRow() const;
    void moveTo(int row);

    // --- editing --------------------------------------------------------------
    void insert(); // beforeInsert, new record (lands at the end), afterInsert
    void append(); // the same; used by imports and the base-file reader
    void edit();   // afterEdit; nothing when editing; on an empty view: insert
    void post();   // writes the record to the file, afterPost; stays current
    void cancel(); // afterCancel
    void remove(); // the next (or new last) record becomes current; afterDelete
    bool isModified() const;

    // --- fields of the current record -------------------------------------------
    const std::vector<dbf::FieldDef> &fields() const;
    int fieldIndex(std::string_view name) const; // -1 when the table has none
    bool isNull(std::string_view name) const;
    std::optional<std::int64_t> integerField(std::string_view name) const;
    std::string textField(std::string_view name) const; // Windows-1251; null -> ""
    void setIntegerField(std::string_view name, std::optional<std::int64_t> value);
    void setTextField(std::string_view name, std::string_view value);

    // Read a shown record without moving the current one (grid models).
    // Only that record (and its memo, for a memo field) is read. The record
    // being edited reads from the edit buffer; a row or field out of range
    // reads as null / "".
    std::optional<std::int64_t> integerAt(int row, int field) const;
    std::string textAt(int row, int field) const;

    // --- bookmarks, list detach ----------------------------------------------
    Bookmark bookmark() const; // -1 when there is no current stored record
    // Ends a pending edit as moving does. A record that is no longer shown
    // (deleted, filtered out) leaves the view on the next shown record.
    void gotoBookmark(Bookmark bookmark);
    // While disabled, no change signal is emitted; enable emits rowsReset.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

    // --- whole table ------------------------------------------------------------
    void refresh();    // re-read from the file; ends a pending edit as moving does
    void emptyTable(); // exclusive only: all records removed
    void pack();       // exclusive only: deleted records removed for good
    // Both drop a pending edit, rewrite the table (and a compacted memo file)
    // into new files and rename them over the old ones, so a failure leaves
    // the old table whole; the view then stands on the first record.

    // --- event steps the windows attach ---------------------------------
    std::function<void(Table &)> beforeInsert, afterInsert, afterEdit, afterPost, afterCancel,
        afterDelete, afterClose;

signals:
    void stateChanged();      // closed / browse / edit / insert
    void currentChanged();    // another record became current, or its buffer changed
    void rowsReset();         // the set of shown records changed
    void rowChanged(int row); // a shown record was stored

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kv::store
