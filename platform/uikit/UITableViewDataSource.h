// What a table view asks for its rows. The two row methods are required; the default body
// of the optional one is what its absence means.
#pragma once

#include "platform/foundation/NSIndexPath.h"

#include <memory>

class UITableView;
class UITableViewCell;

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual long numberOfSectionsInTableView(UITableView& tableView) { return 1; }
    virtual long tableViewNumberOfRowsInSection(UITableView& tableView, long section) = 0;
    // A cell for the row: one from dequeueReusableCellWithIdentifier, or a new one when that
    // gives none, set up for the row.
    virtual std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) = 0;
};
