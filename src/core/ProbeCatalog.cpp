#include "ProbeCatalog.h"

#include "MeasurementTypes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zevko {

namespace {

double InchesFromMm(double mm)
{
    return static_cast<double>(static_cast<long double>(mm) / MmPerInch);
}

double MmFromInches(double inches)
{
    return static_cast<double>(static_cast<long double>(inches) * MmPerInch);
}

} // namespace

const char* CatalogFieldName(CatalogField field)
{
    return field == CatalogField::DIAMm ? "DIAMm" : "DIAMi";
}

void ProbeCatalog::Open()
{
    entries_.clear();
    position_ = 0;
    positionBeforeInsert_ = 0;
    open_ = true;
    changed_ = false;
    state_ = EditState::Browsing;
    typedMm_ = typedIn_ = false;
}

void ProbeCatalog::Close()
{
    open_ = false;
}

std::vector<double> ProbeCatalog::DiametersMm() const
{
    std::vector<double> result;
    result.reserve(entries_.size());
    for (const CatalogEntry& e : entries_)
        result.push_back(e.DIAMm);
    if (state_ == EditState::Inserting)
        result.pop_back();
    else if (state_ == EditState::Editing)
        result[position_] = backup_.DIAMm;
    return result;
}

void ProbeCatalog::First()
{
    LeaveRow();
    position_ = 0;
}

void ProbeCatalog::Next()
{
    LeaveRow();
    if (position_ < entries_.size())
        ++position_;
}

bool ProbeCatalog::Eof() const
{
    return position_ >= entries_.size();
}

void ProbeCatalog::SetPosition(std::size_t position)
{
    if (state_ == EditState::Browsing) {
        position_ = std::min(position, entries_.size());
        return;
    }
    if (position == position_)
        return;
    // Storing the row re-sorts the list: follow the entry that was picked, so
    // that a click on a row lands on that row, not on whatever moved there.
    if (position >= entries_.size()) {
        LeaveRow();
        position_ = entries_.size();
        return;
    }
    tracked_ = position;
    LeaveRow();
    position_ = std::min(*tracked_, entries_.size());
    tracked_.reset();
}

CatalogEntry ProbeCatalog::Current() const
{
    if (entries_.empty())
        return {};
    return entries_[std::min(position_, entries_.size() - 1)];
}

bool ProbeCatalog::HasEntryToDelete() const
{
    return state_ != EditState::Inserting && position_ < entries_.size();
}

void ProbeCatalog::Append()
{
    LeaveRow();
    positionBeforeInsert_ = position_;
    entries_.push_back({});
    position_ = entries_.size() - 1;
    state_ = EditState::Inserting;
    typedMm_ = typedIn_ = false;
}

bool ProbeCatalog::BeginEdit()
{
    if (state_ != EditState::Browsing)
        return true;
    if (entries_.empty())
        return false;
    // Past the end the grid still highlights the last entry: that is the one
    // the user types into.
    position_ = std::min(position_, entries_.size() - 1);
    backup_ = entries_[position_];
    state_ = EditState::Editing;
    typedMm_ = typedIn_ = false;
    return true;
}

bool ProbeCatalog::SetField(CatalogField field, double value)
{
    if (!std::isfinite(value))
        return false;
    if (state_ == EditState::Browsing && !BeginEdit())
        Append();
    CatalogEntry& row = entries_[position_];
    if (field == CatalogField::DIAMm) {
        row.DIAMm = value;
        typedMm_ = true;
    } else {
        row.DIAMi = value;
        typedIn_ = true;
    }
    return true;
}

bool ProbeCatalog::Post(std::optional<CatalogField> cursorColumn)
{
    if (state_ == EditState::Browsing)
        return true;
    CatalogEntry row = entries_[position_];
    const bool derive = typedMm_ || typedIn_ || state_ == EditState::Inserting;
    if (derive) {
        CatalogField source = cursorColumn.value_or(CatalogField::DIAMm);
        // The cell that was typed into decides, so that moving the cell cursor
        // to the other column before leaving the row cannot turn the typed
        // value into the untouched other one.
        if (typedMm_ != typedIn_)
            source = typedMm_ ? CatalogField::DIAMm : CatalogField::DIAMi;
        if (source == CatalogField::DIAMm)
            row.DIAMi = InchesFromMm(row.DIAMm);
        else
            row.DIAMm = MmFromInches(row.DIAMi);
        if (!std::isfinite(row.DIAMm) || !std::isfinite(row.DIAMi))
            return false;
    }
    entries_[position_] = row;
    state_ = EditState::Browsing;
    typedMm_ = typedIn_ = false;
    SortStored();
    changed_ = true;
    return true;
}

void ProbeCatalog::Cancel()
{
    if (state_ == EditState::Browsing)
        return;
    if (state_ == EditState::Inserting) {
        entries_.pop_back();
        position_ = std::min(positionBeforeInsert_, entries_.size());
    } else {
        entries_[position_] = backup_;
    }
    state_ = EditState::Browsing;
    typedMm_ = typedIn_ = false;
    SortStored();
    changed_ = true;
}

void ProbeCatalog::Settle(std::optional<CatalogField> cursorColumn)
{
    if (state_ == EditState::Browsing)
        return;
    if (!RowModified() || !Post(cursorColumn))
        Cancel();
}

void ProbeCatalog::LeaveRow()
{
    Settle(std::nullopt);
}

bool ProbeCatalog::Delete()
{
    if (!HasEntryToDelete())
        return false;
    if (state_ == EditState::Editing) {
        state_ = EditState::Browsing;
        typedMm_ = typedIn_ = false;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position_));
    // The grid then highlights the entry that moved up, or the new last one.
    if (position_ >= entries_.size() && !entries_.empty())
        position_ = entries_.size() - 1;
    changed_ = true;
    return true;
}

void ProbeCatalog::AppendLoaded(double diamMm)
{
    entries_.push_back({diamMm, InchesFromMm(diamMm)});
}

void ProbeCatalog::Sort()
{
    LeaveRow();
    SortStored();
}

void ProbeCatalog::SortStored()
{
    std::vector<std::size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return entries_[a].DIAMm < entries_[b].DIAMm; });
    std::vector<CatalogEntry> sorted;
    sorted.reserve(entries_.size());
    std::size_t newPosition = position_;
    std::optional<std::size_t> newTracked = tracked_;
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(entries_[order[i]]);
        if (order[i] == position_)
            newPosition = i;
        if (tracked_ && order[i] == *tracked_)
            newTracked = i;
    }
    tracked_ = newTracked;
    entries_ = std::move(sorted);
    position_ = newPosition;
}

} // namespace zevko
