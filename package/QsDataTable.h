#pragma once
// A small in-memory table of text cells, filled from the compact table text the package's
// file table is written in:
//
//     [#prop0,prop1,...#]row0cell0,row0cell1|row1cell0,...
//
// Rows are cut at "|", cells at ",", and an optional property header sits between two "#"
// marks at the very start. There is no quoting: columns in the table's conversion set store
// "," as character 26 and "|" as character 27 so that no cell text can break the syntax.
//
// Every change travels as a notification from cell to row to table (and on to a table list),
// and BeginUpdate/EndUpdate fold a burst of changes into one notification, sent when the
// outermost update ends.
//
// Ownership: a list owns its tables, a table owns its rows and its property row, a row owns
// its cells. Parent pointers are plain back references.

#include "core/exceptions.h"
#include "core/text.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TCell;
class TRow;
class TDataTable;
class TDataTables;

// What a change notification is about. The numbering is part of the format's contract.
enum TDataTableChangeMode : std::uint8_t {
    cmNoTrigger,
    cmLoad,
    cmSort,
    cmDirect,
    cmPropChange,
    cmCellAdd,
    cmCellEdit,
    cmCellDeleted,
    cmCellMove,
    cmRowInit,
    cmRowClear,
    cmRowAdd,
    cmRowBatchAdd,
    cmRowDeleted,
    cmRowBatchDeleted,
    cmRowMove,
    cmTableInit,
    cmTableClear,
    cmTableAdd,
    cmTableDeleted,
    cmTableMove,
    cmTablesInit,
    cmTablesClear,
};

// A set of column numbers 0..103 (bit n for column n). Columns from 104 on are never in it.
constexpr int kMaxSetColumn = 103;
using TColumnSet = std::bitset<kMaxSetColumn + 1>;
// The set of the given columns; numbers outside 0..103 are ignored.
TColumnSet MakeColumnSet(std::initializer_list<int> columns);

using TRowDataChangeEvent = std::function<void(TRow& Sender, TDataTableChangeMode ChangeMode, TCell* ACell)>;
using TDataTableDataChangeEvent =
    std::function<void(TDataTable& Sender, TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell,
                       std::int32_t Data1, std::int32_t Data2)>;
using TDataTablesDataChangeEvent =
    std::function<void(TDataTables& Sender, TDataTableChangeMode ChangeMode, std::int32_t TCount,
                       TDataTable* ADataTable, std::int32_t Index)>;
using TRowIndexChangeEvent = std::function<void(TDataTable& Sender, std::int32_t NewIndex)>;
// Declared for callers that hook row or table removal; nothing in this unit removes single
// rows or tables, so these are never called here.
using TRowDeletingEvent = std::function<void(TDataTable& Sender, TRow& ARow)>;
using TTableDeletingEvent = std::function<void(TDataTables& Sender, TDataTable& ADataTable)>;

// One text cell. Text() decodes and SetText() encodes converted columns; Value and AsBool
// are number and boolean views of the stored text.
class TCell final {
public:
    // The cell is not added to the row: only the row's own operations add cells.
    explicit TCell(TRow* owner);
    TCell(const TCell&) = delete;
    TCell& operator=(const TCell&) = delete;

    TRow* Parent() const { return FParent; }

    UString Text() const;
    void SetText(const UString& T);
    // The text as stored, converted form included.
    const UString& StoredText() const { return FText; }

    // An empty cell first becomes "0" (without a notification). EConvertError for a text
    // that is not a signed 32-bit decimal integer (or, for AsBool, "True"/"False" in any
    // letter case).
    std::int32_t Value();
    void SetValue(std::int32_t value);
    bool AsBool();
    void SetAsBool(bool value);  // "-1" or "0"

    // Position in the row's cells, -1 without a row.
    int GetIndex() const;

private:
    friend class TRow;
    bool IsConverted(int column) const;
    void StoreChanged(UString T);
    const UString& TextOrZero();

    TRow* FParent;
    UString FText;
};

class TRow final {
public:
    // Does not add the row to the table's list; the table only decides how texts convert.
    explicit TRow(TDataTable* owner = nullptr);
    ~TRow();
    TRow(const TRow&) = delete;
    TRow& operator=(const TRow&) = delete;

    TDataTable* Parent() const { return FParent; }
    void SetParent(TDataTable* parent) { FParent = parent; }
    // -1 at creation, 0 for a property row, 1 upwards once added to a table.
    std::int32_t Id() const { return FId; }
    bool IsProp() const { return FIsProp; }
    bool IsIndex() const { return FIsIndex; }
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t tag) { FTag = tag; }
    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }
    void* Data2() const { return FData2; }
    void SetData2(void* data) { FData2 = data; }
    const std::shared_ptr<void>& IData() const { return FIData; }
    void SetIData(std::shared_ptr<void> data) { FIData = std::move(data); }
    bool DataChanged() const { return FDataChanged; }
    void SetDataChanged(bool changed) { FDataChanged = changed; }

    // EListError outside 0..ItemCount()-1.
    TCell& Items(int index);
    const TCell& Items(int index) const;
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    // Position in the table's rows; -1 without a table and for a property row.
    int GetIndex() const;

    void BeginUpdate();
    void EndUpdate(TDataTableChangeMode ChangeMode, TCell* ACell);

    // Replaces the cells by the pieces of sInit cut at sSplitChar, up to its first NUL;
    // the texts are stored as given. The empty text gives one empty cell.
    void Init(UStringView sInit, char16_t sSplitChar);
    void Clear();
    // Appends a cell holding the decimal text of Value.
    TCell& AddItem(std::int32_t Value);
    // Makes this row's stored cell texts equal to ARow's; ids, tags, data and flags stay.
    void CopyFrom(const TRow& ARow);

    void DoDataChanged(TDataTableChangeMode ChangeMode, TCell* ACell);

    TRowDataChangeEvent OnDataChanged;

private:
    friend class TDataTable;
    friend class TDataTables;
    // Ten empty cells, id 0, marked as property row, nothing announced yet.
    static std::unique_ptr<TRow> NewPropertyRow(TDataTable* parent);

    TDataTable* FParent;
    std::vector<std::unique_ptr<TCell>> FItems;
    std::int32_t FId = -1;
    std::int32_t FTag = 0;
    bool FIsProp = false;
    bool FIsIndex = false;
    void* FData = nullptr;
    void* FData2 = nullptr;
    std::shared_ptr<void> FIData;
    int FUpdateCount = 0;
    bool FDataChanged = false;
};

class TDataTable final {
public:
    TDataTable(UString key, const TColumnSet& convertSet);
    ~TDataTable();
    TDataTable(const TDataTable&) = delete;
    TDataTable& operator=(const TDataTable&) = delete;

    // EListError outside 0..ItemCount()-1.
    TRow& Items(int index);
    const TRow& Items(int index) const;
    int ItemCount() const { return static_cast<int>(FItems.size()); }

    // Replaces the rows from a table text. Never fails: every text yields a table.
    void Init(UStringView sInit);
    void Clear();
    // Takes the row itself.
    TRow& AddItem(std::unique_ptr<TRow> ARow);
    // Adds a copy of ARow (CopyFrom); ARow stays with the caller.
    TRow& AddItem(const TRow& ARow);
    // Index of the first row with that id, -1 when none.
    int IndexOfId(std::int32_t Id) const;
    // Clear, optionally the property row, then copies of the source's rows (the first
    // MaxCount of them when MaxCount > 0).
    void CopyFrom(const TDataTable& ADataTable, bool IncludeProp, int MaxCount);

    void BeginUpdate();
    void EndUpdate(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, std::int32_t Data1,
                   std::int32_t Data2);
    void DoDataChanged(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, std::int32_t Data1,
                       std::int32_t Data2);

    // Returns the id for the next added row and advances it.
    std::int32_t NextRowId() { return FNextRowId++; }

    TRow& PropertyRow() { return *FPropertyRow; }
    const TRow& PropertyRow() const { return *FPropertyRow; }
    // Text of property cell 0, Value of property cell 1.
    UString Name() const;
    void SetName(const UString& name);
    std::int32_t Value();
    void SetValue(std::int32_t value);
    int PropCount() const { return FPropertyRow->ItemCount(); }

    // Current row, -1 for none; changing it calls OnRowIndexChanged.
    int RowIndex() const { return FRowIndex; }
    void SetRowIndex(int index);
    // Current column: stored when it lies within the first row's cells, otherwise -1.
    int ColIndex() const { return FColIndex; }
    void SetColIndex(int index);

    const UString& FileName() const { return FFileName; }
    void SetFileName(const UString& fileName);
    bool DataChanged() const { return FDataChanged; }
    // true announces cmDirect; false clears the flag of the table and of all its rows.
    void SetDataChanged(bool changed);
    // Batch mode is never entered by this unit.
    bool InBatch() const { return FInBatch; }

    TDataTables* Parent() const { return FParent; }
    void SetParent(TDataTables* parent) { FParent = parent; }
    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }
    void* Data2() const { return FData2; }
    void SetData2(void* data) { FData2 = data; }
    void* Data3() const { return FData3; }
    void SetData3(void* data) { FData3 = data; }
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t tag) { FTag = tag; }
    // Bit 0 set keeps tab, line feed and carriage return in converted columns.
    std::int32_t IOMode() const { return FIOMode; }
    void SetIOMode(std::int32_t mode) { FIOMode = mode; }
    const UString& Key() const { return FKey; }
    void SetKey(UString key) { FKey = std::move(key); }
    const UString& KeyCustom() const { return FKeyCustom; }
    void SetKeyCustom(UString key) { FKeyCustom = std::move(key); }
    bool PreventEvent() const { return FPreventEvent; }
    void SetPreventEvent(bool prevent) { FPreventEvent = prevent; }
    const TColumnSet& ConvertSet() const { return FConvertSet; }
    // Converted columns that keep tab, line feed and carriage return.
    const TColumnSet& ReserveLFSet() const { return FReserveLFSet; }
    void SetReserveLFSet(const TColumnSet& set) { FReserveLFSet = set; }

    // Writing side, for producers of table texts (not used by the installer).
    //
    // Adds one row whose cells are written through SetText, so converted columns store
    // "," and "|" as 26 and 27. An empty list gives one empty cell. One cmRowAdd.
    TRow& AddTextRow(const std::vector<UString>& texts);
    // The table text that Init reads back into the same stored cells: the property header
    // "#...#" unless the property row is still the fresh ten empty cells (it is written
    // anyway when needed to keep rows and header apart), rows joined by "|", cells by ",".
    // EConvertError when the table cannot be written that way: a row cell holding ",", "|"
    // or NUL, a property cell holding ",", "#" or NUL, a row or property row without cells,
    // or a property header followed by a single empty row.
    UString ToText() const;

    TRowIndexChangeEvent OnRowIndexChanged;
    TDataTableDataChangeEvent OnDataChanged;
    TRowDeletingEvent OnRowDeleting;

private:
    TDataTables* FParent = nullptr;
    void* FData = nullptr;
    void* FData2 = nullptr;
    void* FData3 = nullptr;
    std::vector<std::unique_ptr<TRow>> FItems;
    UString FFileName;
    std::int32_t FNextRowId = 1;
    std::int32_t FTag = 0;
    std::unique_ptr<TRow> FPropertyRow;
    int FUpdateCount = 0;
    bool FDataChanged = false;
    int FRowIndex = -1;
    int FColIndex = -1;
    std::int32_t FIOMode = 2;
    UString FKey;
    UString FKeyCustom;
    TColumnSet FConvertSet;
    TColumnSet FReserveLFSet;
    bool FInBatch = false;
    bool FPreventEvent = false;
};

// A list of tables with its own property row.
class TDataTables final {
public:
    // Starts empty, with a property row of ten empty cells like a table's.
    TDataTables();
    ~TDataTables();
    TDataTables(const TDataTables&) = delete;
    TDataTables& operator=(const TDataTables&) = delete;

    // EListError outside 0..ItemCount()-1.
    TDataTable& Items(int index);
    const TDataTable& Items(int index) const;
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    int IndexOf(const TDataTable* ADataTable) const;

    void BeginUpdate();
    void EndUpdate(TDataTableChangeMode ChangeMode, std::int32_t TCount, TDataTable* ADataTable,
                   std::int32_t TIndex);
    void DoDataChanged(TDataTableChangeMode ChangeMode, std::int32_t TCount, TDataTable* ADataTable,
                       std::int32_t TIndex);

    // Takes the table itself and becomes its parent.
    TDataTable& AddItem(std::unique_ptr<TDataTable> ADataTable);
    // Adds a copy of ADataTable's rows (without its property row).
    TDataTable& AddItem(const TDataTable& ADataTable);
    void Clear();
    void CopyFrom(const TDataTables& ADataTables, int MaxCount);
    // CopyFrom(Source, 0), the property row and the tag.
    void Assign(const TDataTables& Source);

    TRow& PropertyRow() { return *FPropertyRow; }
    const TRow& PropertyRow() const { return *FPropertyRow; }
    const UString& FileName() const { return FFileName; }
    void SetFileName(const UString& fileName);
    bool DataChanged() const { return FDataChanged; }
    void SetDataChanged(bool changed);
    bool IsEncrypt() const { return FIsEncrypt; }
    void SetIsEncrypt(bool encrypt) { FIsEncrypt = encrypt; }
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t tag) { FTag = tag; }

    TDataTablesDataChangeEvent OnDataChanged;
    TTableDeletingEvent OnTableDeleting;

private:
    std::vector<std::unique_ptr<TDataTable>> FItems;
    UString FFileName;
    bool FIsEncrypt = false;
    std::int32_t FTag = 0;
    std::unique_ptr<TRow> FPropertyRow;
    bool FDataChanged = false;
    int FUpdateCount = 0;
};
