// Cells and rows.
#include "package/QsDataTable.h"

#include "core/exceptions.h"
#include "package/QsDataTable_detail.h"

#include <string>

using qs_detail::EndUpdateGuard;

namespace {
UString DecimalText(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return UString(digits.begin(), digits.end());
}

[[noreturn]] void ThrowNotA(const UString& text, const char* what) {
    throw EConvertError("'" + Utf16ToUtf8(text) + "' is not a valid " + what + " value");
}

bool EqualsIgnoringAsciiCase(UStringView text, std::u16string_view lowerWord) {
    if (text.size() != lowerWord.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
        if (c != lowerWord[i]) {
            return false;
        }
    }
    return true;
}
} // namespace

TColumnSet MakeColumnSet(std::initializer_list<int> columns) {
    TColumnSet set;
    for (const int column : columns) {
        if (column >= 0 && column <= kMaxSetColumn) {
            set.set(static_cast<size_t>(column));
        }
    }
    return set;
}

// ---- TCell

TCell::TCell(TRow* owner) : FParent(owner) {}

int TCell::GetIndex() const {
    if (FParent == nullptr) {
        return -1;
    }
    for (int i = 0; i < FParent->ItemCount(); ++i) {
        if (&FParent->Items(i) == this) {
            return i;
        }
    }
    return -1;
}

bool TCell::IsConverted(int column) const {
    return FParent != nullptr && FParent->Parent() != nullptr && column >= 0 && column <= kMaxSetColumn &&
           FParent->Parent()->ConvertSet().test(static_cast<size_t>(column));
}

UString TCell::Text() const {
    if (FText.empty() || !IsConverted(GetIndex())) {
        return FText;
    }
    return qs_detail::DecodeCellText(FText);
}

void TCell::SetText(const UString& T) {
    if (T == FText) {
        return;
    }
    const int column = GetIndex();
    if (!T.empty() && IsConverted(column)) {
        const TDataTable& table = *FParent->Parent();
        const bool keepLineBreaks =
            table.ReserveLFSet().test(static_cast<size_t>(column)) || (table.IOMode() & 1) != 0;
        UString converted = qs_detail::EncodeCellText(T, keepLineBreaks);
        if (converted == FText) {
            return;
        }
        StoreChanged(std::move(converted));
        return;
    }
    StoreChanged(T);
}

void TCell::StoreChanged(UString T) {
    FText = std::move(T);
    if (FParent != nullptr) {
        FParent->DoDataChanged(cmCellEdit, this);
    }
}

const UString& TCell::TextOrZero() {
    // Number views treat an empty cell as 0 and keep that, silently.
    if (FText.empty()) {
        FText = u"0";
    }
    return FText;
}

std::int32_t TCell::Value() {
    const UString& text = TextOrZero();
    if (const auto value = qs_detail::ParseInt32(text)) {
        return *value;
    }
    ThrowNotA(text, "integer");
}

void TCell::SetValue(std::int32_t value) {
    UString text = DecimalText(value);
    if (text != FText) {
        StoreChanged(std::move(text));
    }
}

bool TCell::AsBool() {
    const UString& text = TextOrZero();
    if (const auto value = qs_detail::ParseInt32(text)) {
        return *value != 0;
    }
    if (EqualsIgnoringAsciiCase(text, u"true")) {
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, u"false")) {
        return false;
    }
    ThrowNotA(text, "Boolean");
}

void TCell::SetAsBool(bool value) {
    UString text = value ? u"-1" : u"0";
    if (text != FText) {
        StoreChanged(std::move(text));
    }
}

// ---- TRow

TRow::TRow(TDataTable* owner) : FParent(owner) {}

TRow::~TRow() = default;

std::unique_ptr<TRow> TRow::NewPropertyRow(TDataTable* parent) {
    auto row = std::make_unique<TRow>(nullptr);
    row->Init(u",,,,,,,,,", u',');
    row->FId = 0;
    row->FIsProp = true;
    row->FParent = parent;
    row->FDataChanged = false;
    return row;
}

TCell& TRow::Items(int index) {
    if (index < 0 || index >= ItemCount()) {
        qs_detail::ThrowListIndex(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

const TCell& TRow::Items(int index) const {
    if (index < 0 || index >= ItemCount()) {
        qs_detail::ThrowListIndex(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

int TRow::GetIndex() const {
    if (FParent == nullptr || FIsProp) {
        return -1;
    }
    for (int i = 0; i < FParent->ItemCount(); ++i) {
        if (&FParent->Items(i) == this) {
            return i;
        }
    }
    return -1;
}

void TRow::BeginUpdate() {
    ++FUpdateCount;
}

void TRow::EndUpdate(TDataTableChangeMode ChangeMode, TCell* ACell) {
    // An unmatched EndUpdate must not leave the counter below zero, which would mute the
    // row for good.
    if (FUpdateCount == 0) {
        return;
    }
    if (--FUpdateCount == 0) {
        DoDataChanged(ChangeMode, ACell);
    }
}

void TRow::DoDataChanged(TDataTableChangeMode ChangeMode, TCell* ACell) {
    if (FUpdateCount != 0) {
        return;
    }
    FDataChanged = true;
    if (OnDataChanged) {
        OnDataChanged(*this, ChangeMode, ACell);
    }
    if (FParent != nullptr) {
        FParent->DoDataChanged(ChangeMode, this, ACell, -1, -1);
    }
}

void TRow::Init(UStringView sInit, char16_t sSplitChar) {
    // Taken first: the text may be one of the cells that Clear frees.
    const UString text(sInit);
    BeginUpdate();
    const EndUpdateGuard guard([this] { EndUpdate(cmRowInit, nullptr); });
    Clear();
    if (text.empty()) {
        FItems.push_back(std::make_unique<TCell>(this));
        return;
    }
    qs_detail::ForEachPiece(text, sSplitChar, [this](UStringView piece) {
        auto cell = std::make_unique<TCell>(this);
        cell->FText = UString(piece);
        FItems.push_back(std::move(cell));
    });
}

void TRow::Clear() {
    if (FItems.empty()) {
        return;
    }
    FItems.clear();
    DoDataChanged(cmRowClear, nullptr);
}

TCell& TRow::AddItem(std::int32_t Value) {
    BeginUpdate();
    TCell* added = nullptr;
    const EndUpdateGuard guard([this, &added] { EndUpdate(cmCellAdd, added); });
    FItems.push_back(std::make_unique<TCell>(this));
    added = FItems.back().get();
    added->SetValue(Value);
    return *added;
}

void TRow::CopyFrom(const TRow& ARow) {
    // Taken first, so that copying a row onto itself keeps its texts.
    std::vector<UString> texts;
    texts.reserve(ARow.FItems.size());
    for (const auto& cell : ARow.FItems) {
        texts.push_back(cell->FText);
    }
    BeginUpdate();
    const EndUpdateGuard guard([this] { EndUpdate(cmRowInit, nullptr); });
    Init(UString(texts.empty() ? 0 : texts.size() - 1, u','), u',');
    for (size_t i = 0; i < texts.size(); ++i) {
        FItems[i]->FText = std::move(texts[i]);
    }
}
