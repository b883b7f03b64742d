#pragma once
// The mail table's column layout: the default order and widths (kDefaultWidths), and their
// persistence under "Column Position <Name>" (visual position counted from 1)
// and "Column Width <Name>" (points), for State, From, Date, Subject.
//
// Restoring moves the columns one after another in the order State, From,
// Date, Subject, each move made on the order the previous ones left. Absent
// values, 0, and values of another type leave the default layout alone; so do
// positions outside 1..4 and widths that are not finite or not positive, which
// could not have come from this program.
class QHeaderView;

namespace wex {

class DefaultsStore;

// Gives the header the default widths (the default order is the logical one).
void ApplyDefaultColumns(QHeaderView *header);
void RestoreColumnLayout(QHeaderView *header, const DefaultsStore &defaults);
void SaveColumnLayout(const QHeaderView *header, DefaultsStore &defaults);

} // namespace wex
