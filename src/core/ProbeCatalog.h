#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace zevko {

struct CatalogEntry {
    double DIAMm = 0.0; // probe diameter in millimetres
    double DIAMi = 0.0; // the same diameter in inches
};

enum class CatalogField { DIAMm, DIAMi };

// The field's name as messages show it: "DIAMm" or "DIAMi".
const char* CatalogFieldName(CatalogField field);

// An ordered list of probe diameters (ascending by DIAMm) with a current
// position that may stand past the last entry, a Changed flag, and the three
// editing states of the catalog page.
//
// The row being edited lives in Entries() at Position() (a new entry is the
// last one), so a grid can show it as typed. DiametersMm() gives the stored
// values only.
class ProbeCatalog {
public:
    enum class EditState { Browsing, Inserting, Editing };

    // Open empties the list (the loader fills it), browsing, first position,
    // not changed. Close leaves the list as is.
    void Open();
    void Close();
    bool IsOpen() const { return open_; }

    const std::vector<CatalogEntry>& Entries() const { return entries_; }
    std::size_t Count() const { return entries_.size(); }
    // The stored diameters in ascending order: a new entry being typed is left
    // out, an entry being edited counts with its stored value. Indices match
    // Entries() (the new entry, if any, is the last one).
    std::vector<double> DiametersMm() const;

    // Cursor. Position() == Count() means past the last entry. Moving the
    // cursor settles a row being edited first (see Settle), as leaving a row
    // in the grid does; SetPosition does so only when the position changes.
    void First();
    void Next();
    bool Eof() const;
    std::size_t Position() const { return position_; }
    // Positions beyond Count() stand past the last entry. While a row is being
    // edited the position names an entry as the list shows it now; after the
    // row is settled the cursor stands on that same entry.
    void SetPosition(std::size_t position);
    // The entry at the cursor: past the end the last entry, while inserting the
    // new entry (0 for a value not typed yet), in an empty catalog zeros.
    CatalogEntry Current() const;
    // True when the cursor designates a stored entry that Delete would remove.
    bool HasEntryToDelete() const;

    // Editing.
    EditState State() const { return state_; }
    // Something was typed into the row being edited.
    bool RowModified() const { return typedMm_ || typedIn_; }
    // Appends an empty entry at the end and makes it current (a row still being
    // edited is first settled).
    void Append();
    // Starts editing the entry Current() designates (past the end: the last
    // entry, which becomes current). False, and no change, in an empty catalog;
    // true without change while a row is already being edited.
    bool BeginEdit();
    // Sets a field of the row being edited. When browsing it starts editing the
    // entry at the cursor, or appends a new entry in an empty catalog (typing
    // into an empty grid). A value that is not finite is refused (false, no
    // change).
    bool SetField(CatalogField field, double value);
    // Stores the row being edited, then sorts (the row stays current) and marks
    // the catalog changed; no-op when browsing. The other unit is derived from
    // the cell the user typed into; when both cells were typed (or neither, in
    // a new entry), from `cursorColumn`, the grid column the cell cursor
    // stands in (DIAMm when not given). An edit of an existing entry without
    // typing keeps both values. False, with the row still being edited, when
    // the derived value is out of the range of a double.
    bool Post(std::optional<CatalogField> cursorColumn = std::nullopt);
    // Abandons the row being edited: a new entry is removed (the cursor goes
    // back where it stood before New), an edit undone; then sorts and marks
    // the catalog changed. No-op when browsing.
    void Cancel();
    // Stores the row if something was typed into it, abandons it otherwise (a
    // row that cannot be stored is abandoned too); no-op when browsing.
    void Settle(std::optional<CatalogField> cursorColumn = std::nullopt);
    // Removes the stored entry at the cursor and marks the catalog changed; an
    // edit of that entry is dropped with it. False (and no change) when there
    // is none: empty, past the end, a new entry being typed.
    bool Delete();

    // Loader's append: an entry stored as read (DIAMi derived from DIAMm), no
    // editing state, no Changed flag.
    void AppendLoaded(double diamMm);
    // Orders ascending by DIAMm keeping the current entry current (a row
    // being edited is settled first).
    void Sort();

    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }

private:
    void SortStored();
    void LeaveRow();

    std::vector<CatalogEntry> entries_;
    std::size_t position_ = 0;
    std::size_t positionBeforeInsert_ = 0;
    std::optional<std::size_t> tracked_; // an index followed through a re-sort
    bool open_ = false;
    bool changed_ = false;
    EditState state_ = EditState::Browsing;
    bool typedMm_ = false;
    bool typedIn_ = false;
    CatalogEntry backup_{};
};

} // namespace zevko
