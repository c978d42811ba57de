#pragma once

#include <cstddef>
#include <vector>

namespace zevko {

struct CatalogEntry {
    double DIAMm = 0.0; // probe diameter in millimetres
    double DIAMi = 0.0; // the same diameter in inches
};

enum class CatalogField { DIAMm, DIAMi };

// An ordered list of probe diameters (ascending by DIAMm) with a current
// position that may stand past the last entry, a Changed flag, and the three
// editing states of the catalog page.
class ProbeCatalog {
public:
    enum class EditState { Browsing, Inserting, Editing };

    // Open empties the list (the loader fills it); Close leaves the list as is.
    void Open();
    void Close();
    bool IsOpen() const { return open_; }

    const std::vector<CatalogEntry>& Entries() const { return entries_; }
    std::size_t Count() const { return entries_.size(); }
    std::vector<double> DiametersMm() const;

    // Cursor. Position() == Count() means past the last entry.
    void First();
    void Next();
    bool Eof() const;
    std::size_t Position() const { return position_; }
    void SetPosition(std::size_t position);
    // The entry at the cursor: past the end the last entry, while inserting the
    // new entry, in an empty catalog zeros.
    CatalogEntry Current() const;

    // Editing.
    EditState State() const { return state_; }
    bool RowModified() const { return rowModified_; }
    // Appends an empty entry at the end and makes it current (a row still being
    // edited is first stored if modified, abandoned otherwise).
    void Append();
    // Starts editing the entry at the cursor (no-op past the end or while editing).
    void BeginEdit();
    // Sets a field of the row being edited (starts editing when browsing).
    void SetField(CatalogField field, double value);
    // Stores the row being edited. `cursorColumn` is the grid column the cell
    // cursor stands in; the other unit is derived from it.
    void Post(CatalogField cursorColumn);
    // Abandons the row being edited: a new entry is removed, an edit undone.
    void Cancel();
    // Stores the row if modified, abandons it otherwise; no-op when browsing.
    void Settle(CatalogField cursorColumn);
    // Removes the stored entry at the cursor; false (and no change) when there
    // is none (empty, past the end, a new entry being typed).
    bool Delete();

    // Loader's append: an entry stored as read, no unit coupling, no flags.
    void AppendLoaded(double diamMm);
    // Orders ascending by DIAMm keeping the current entry current.
    void Sort();

    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }

private:
    std::vector<CatalogEntry> entries_;
    std::size_t position_ = 0;
    bool open_ = false;
    bool changed_ = false;
    EditState state_ = EditState::Browsing;
    bool rowModified_ = false;
    CatalogEntry backup_{};
};

} // namespace zevko
