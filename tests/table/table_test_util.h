#pragma once
// Snapshots of tables as plain stored texts, and a recorder of change notifications.

#include "package/QsDataTable.h"

#include <ostream>
#include <vector>

using Cells = std::vector<UString>;
using Rows = std::vector<Cells>;

inline Cells StoredCells(const TRow& row) {
    Cells cells;
    for (int i = 0; i < row.ItemCount(); ++i) {
        cells.push_back(row.Items(i).StoredText());
    }
    return cells;
}

inline Rows StoredRows(const TDataTable& table) {
    Rows rows;
    for (int i = 0; i < table.ItemCount(); ++i) {
        rows.push_back(StoredCells(table.Items(i)));
    }
    return rows;
}

inline Cells FreshProps() {
    return Cells(10);
}

// One notification as a table's handler saw it.
struct TableEvent {
    TDataTableChangeMode mode;
    const TRow* row;
    const TCell* cell;
    std::int32_t data1;
    std::int32_t data2;
    bool operator==(const TableEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TableEvent& e) {
    return os << "{mode " << int(e.mode) << ", row " << e.row << ", cell " << e.cell << ", " << e.data1 << ", "
              << e.data2 << "}";
}

struct TableRecorder {
    std::vector<TableEvent> events;
    void Attach(TDataTable& table) {
        table.OnDataChanged = [this](TDataTable&, TDataTableChangeMode mode, TRow* row, TCell* cell,
                                     std::int32_t d1, std::int32_t d2) {
            events.push_back({mode, row, cell, d1, d2});
        };
    }
};
