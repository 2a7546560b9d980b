// The table: parsing its text, rows, ids, the current row and column, notifications.
#include "package/QsDataTable.h"

#include "core/exceptions.h"
#include "package/QsDataTable_detail.h"

using qs_detail::EndUpdateGuard;

TDataTable::TDataTable(UString key, const TColumnSet& convertSet)
    : FPropertyRow(TRow::NewPropertyRow(this)), FKey(std::move(key)), FConvertSet(convertSet) {}

TDataTable::~TDataTable() {
    FPropertyRow.reset();
    FItems.clear();
}

TRow& TDataTable::Items(int index) {
    if (index < 0 || index >= ItemCount()) {
        qs_detail::ThrowListIndex(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

const TRow& TDataTable::Items(int index) const {
    if (index < 0 || index >= ItemCount()) {
        qs_detail::ThrowListIndex(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

void TDataTable::Init(UStringView sInit) {
    // Taken first: the text may be a cell of a row that Clear frees.
    const UString owned(sInit);
    const UStringView text(owned);
    BeginUpdate();
    const EndUpdateGuard guard([this] { EndUpdate(cmTableInit, nullptr, nullptr, -1, -1); });
    Clear();
    if (text.empty()) {
        auto row = std::make_unique<TRow>(nullptr);
        row->Init(u"", u',');
        AddItem(std::move(row));
        return;
    }
    // The text ends at its first NUL, the header search included.
    const size_t end = std::min(text.find(u'\0'), text.size());
    size_t rowsStart = 0;
    if (text[0] == u'#') {
        const size_t close = text.substr(0, end).find(u'#', 1);
        if (close != UStringView::npos) {
            FPropertyRow->Init(text.substr(1, close - 1), u',');
            rowsStart = close + 1;
        }
    }
    if (rowsStart >= end) {
        return;
    }
    qs_detail::ForEachPiece(text.substr(rowsStart), u'|', [this](UStringView piece) {
        auto row = std::make_unique<TRow>(nullptr);
        row->Init(piece, u',');
        AddItem(std::move(row));
    });
}

void TDataTable::Clear() {
    if (!FItems.empty()) {
        FItems.clear();
        FNextRowId = 1;
        DoDataChanged(cmTableClear, nullptr, nullptr, -1, -1);
    }
    if (FRowIndex != -1) {
        FRowIndex = -1;
        if (OnRowIndexChanged) {
            OnRowIndexChanged(*this, FRowIndex);
        }
    }
}

TRow& TDataTable::AddItem(std::unique_ptr<TRow> ARow) {
    if (!ARow) {
        throw Exception("No row to add to the table");
    }
    BeginUpdate();
    TRow* added = nullptr;
    const EndUpdateGuard guard([this, &added] { EndUpdate(cmRowAdd, added, nullptr, -1, -1); });
    ARow->FParent = this;
    ARow->FId = NextRowId();
    FItems.push_back(std::move(ARow));
    added = FItems.back().get();
    return *added;
}

TRow& TDataTable::AddItem(const TRow& ARow) {
    BeginUpdate();
    TRow* added = nullptr;
    const EndUpdateGuard guard([this, &added] { EndUpdate(cmRowAdd, added, nullptr, -1, -1); });
    auto row = std::make_unique<TRow>(this);
    row->CopyFrom(ARow);
    added = &AddItem(std::move(row));
    return *added;
}

TRow& TDataTable::AddTextRow(const std::vector<UString>& texts) {
    BeginUpdate();
    TRow* added = nullptr;
    const EndUpdateGuard guard([this, &added] { EndUpdate(cmRowAdd, added, nullptr, -1, -1); });
    // The row knows its table before its cells are written, so they convert.
    auto row = std::make_unique<TRow>(this);
    row->Init(UString(texts.empty() ? 0 : texts.size() - 1, u','), u',');
    for (size_t i = 0; i < texts.size(); ++i) {
        row->FItems[i]->SetText(texts[i]);
    }
    added = &AddItem(std::move(row));
    return *added;
}

int TDataTable::IndexOfId(std::int32_t Id) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i]->FId == Id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TDataTable::CopyFrom(const TDataTable& ADataTable, bool IncludeProp, int MaxCount) {
    if (&ADataTable == this) {
        // Clearing first would destroy the source: copy from a snapshot instead.
        TDataTable snapshot(FKey, FConvertSet);
        snapshot.CopyFrom(*this, true, 0);
        CopyFrom(snapshot, IncludeProp, MaxCount);
        return;
    }
    BeginUpdate();
    const EndUpdateGuard guard([this] { EndUpdate(cmTableInit, nullptr, nullptr, -1, -1); });
    Clear();
    if (IncludeProp) {
        FPropertyRow->CopyFrom(*ADataTable.FPropertyRow);
    }
    int copied = 0;
    for (const auto& row : ADataTable.FItems) {
        if (MaxCount > 0 && copied >= MaxCount) {
            break;
        }
        AddItem(*row);
        ++copied;
    }
}

void TDataTable::BeginUpdate() {
    ++FUpdateCount;
}

void TDataTable::EndUpdate(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, std::int32_t Data1,
                           std::int32_t Data2) {
    // An unmatched EndUpdate must not leave the counter below zero, which would mute the
    // table for good.
    if (FUpdateCount == 0) {
        return;
    }
    if (--FUpdateCount == 0) {
        DoDataChanged(ChangeMode, ARow, ACell, Data1, Data2);
    }
}

void TDataTable::DoDataChanged(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, std::int32_t Data1,
                               std::int32_t Data2) {
    if (FUpdateCount != 0) {
        return;
    }
    FDataChanged = true;
    const TDataTableChangeMode mode = (ARow != nullptr && ARow->FIsProp) ? cmPropChange : ChangeMode;
    if (OnDataChanged && !FPreventEvent) {
        OnDataChanged(*this, mode, ARow, ACell, Data1, Data2);
    }
    if (FParent != nullptr) {
        FParent->DoDataChanged(mode, 1, this, -1);
    }
}

UString TDataTable::Name() const {
    return FPropertyRow->Items(0).Text();
}

void TDataTable::SetName(const UString& name) {
    FPropertyRow->Items(0).SetText(name);
}

std::int32_t TDataTable::Value() {
    return FPropertyRow->Items(1).Value();
}

void TDataTable::SetValue(std::int32_t value) {
    FPropertyRow->Items(1).SetValue(value);
}

void TDataTable::SetRowIndex(int index) {
    if (index == FRowIndex) {
        return;
    }
    if (FRowIndex >= 0 && FRowIndex < ItemCount()) {
        FItems[static_cast<size_t>(FRowIndex)]->FIsIndex = false;
    }
    if (index >= 0 && index < ItemCount()) {
        FItems[static_cast<size_t>(index)]->FIsIndex = true;
        FRowIndex = index;
    } else {
        FRowIndex = -1;
    }
    if (OnRowIndexChanged) {
        OnRowIndexChanged(*this, FRowIndex);
    }
}

void TDataTable::SetColIndex(int index) {
    const bool inFirstRow = !FItems.empty() && index >= 0 && index < FItems.front()->ItemCount();
    FColIndex = inFirstRow ? index : -1;
}

void TDataTable::SetFileName(const UString& fileName) {
    if (fileName != FFileName) {
        FFileName = fileName;
    }
}

void TDataTable::SetDataChanged(bool changed) {
    FDataChanged = changed;
    if (changed) {
        DoDataChanged(cmDirect, nullptr, nullptr, -1, -1);
        return;
    }
    FPropertyRow->FDataChanged = false;
    for (const auto& row : FItems) {
        row->FDataChanged = false;
    }
}
