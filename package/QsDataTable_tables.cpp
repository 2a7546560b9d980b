// The table list.
#include "package/QsDataTable.h"

#include "core/exceptions.h"
#include "package/QsDataTable_detail.h"

using qs_detail::EndUpdateGuard;

TDataTables::TDataTables() : FPropertyRow(TRow::NewPropertyRow(nullptr)) {}

TDataTables::~TDataTables() {
    FPropertyRow.reset();
    FItems.clear();
}

TDataTable& TDataTables::Items(int index) {
    if (index < 0 || index >= ItemCount()) {
        qs_detail::ThrowListIndex(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

const TDataTable& TDataTables::Items(int index) const {
    if (index < 0 || index >= ItemCount()) {
        qs_detail::ThrowListIndex(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

int TDataTables::IndexOf(const TDataTable* ADataTable) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == ADataTable) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TDataTables::BeginUpdate() {
    ++FUpdateCount;
}

void TDataTables::EndUpdate(TDataTableChangeMode ChangeMode, std::int32_t TCount, TDataTable* ADataTable,
                            std::int32_t TIndex) {
    if (FUpdateCount == 0) {
        return;
    }
    if (--FUpdateCount == 0) {
        DoDataChanged(ChangeMode, TCount, ADataTable, TIndex);
    }
}

void TDataTables::DoDataChanged(TDataTableChangeMode ChangeMode, std::int32_t TCount, TDataTable* ADataTable,
                                std::int32_t TIndex) {
    if (FUpdateCount != 0) {
        return;
    }
    FDataChanged = true;
    if (OnDataChanged) {
        if (TIndex == -1 && ADataTable != nullptr) {
            TIndex = IndexOf(ADataTable);
        }
        OnDataChanged(*this, ChangeMode, TCount, ADataTable, TIndex);
    }
}

TDataTable& TDataTables::AddItem(std::unique_ptr<TDataTable> ADataTable) {
    if (!ADataTable) {
        throw Exception("No table to add to the list");
    }
    BeginUpdate();
    TDataTable* added = nullptr;
    std::int32_t index = -1;
    const EndUpdateGuard guard([this, &added, &index] { EndUpdate(cmTableAdd, 1, added, index); });
    ADataTable->SetParent(this);
    FItems.push_back(std::move(ADataTable));
    added = FItems.back().get();
    index = static_cast<std::int32_t>(FItems.size() - 1);
    return *added;
}

TDataTable& TDataTables::AddItem(const TDataTable& ADataTable) {
    BeginUpdate();
    TDataTable* added = nullptr;
    std::int32_t index = -1;
    const EndUpdateGuard guard([this, &added, &index] { EndUpdate(cmTableAdd, 1, added, index); });
    // The copy converts its columns as the source does, so its texts read the same.
    auto table = std::make_unique<TDataTable>(ADataTable.Key(), ADataTable.ConvertSet());
    table->SetReserveLFSet(ADataTable.ReserveLFSet());
    table->SetIOMode(ADataTable.IOMode());
    table->SetParent(this);
    table->CopyFrom(ADataTable, false, 0);
    added = &AddItem(std::move(table));
    index = static_cast<std::int32_t>(FItems.size() - 1);
    return *added;
}

void TDataTables::Clear() {
    if (FItems.empty()) {
        return;
    }
    FItems.clear();
    DoDataChanged(cmTablesClear, -1, nullptr, -1);
}

void TDataTables::CopyFrom(const TDataTables& ADataTables, int MaxCount) {
    if (&ADataTables == this) {
        // Clearing first would destroy the source: copy from a snapshot instead.
        TDataTables snapshot;
        snapshot.CopyFrom(*this, 0);
        CopyFrom(snapshot, MaxCount);
        return;
    }
    BeginUpdate();
    const EndUpdateGuard guard([this] { EndUpdate(cmTablesInit, -1, nullptr, -1); });
    Clear();
    int copied = 0;
    for (const auto& table : ADataTables.FItems) {
        if (MaxCount > 0 && copied >= MaxCount) {
            break;
        }
        AddItem(*table);
        ++copied;
    }
}

void TDataTables::Assign(const TDataTables& Source) {
    BeginUpdate();
    const EndUpdateGuard guard([this] { EndUpdate(cmTablesInit, -1, nullptr, -1); });
    CopyFrom(Source, 0);
    FPropertyRow->CopyFrom(*Source.FPropertyRow);
    FTag = Source.FTag;
}

void TDataTables::SetFileName(const UString& fileName) {
    if (fileName != FFileName) {
        FFileName = fileName;
    }
}

void TDataTables::SetDataChanged(bool changed) {
    FDataChanged = changed;
    if (changed) {
        DoDataChanged(cmDirect, -1, nullptr, -1);
        return;
    }
    FPropertyRow->FDataChanged = false;
    for (const auto& table : FItems) {
        table->SetDataChanged(false);
    }
}
