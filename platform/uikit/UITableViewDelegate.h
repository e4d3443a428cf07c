// What a table view asks and tells its delegate about rows, besides the scroll callbacks.
// Every method is optional: the default bodies are what an absent method means.
#pragma once

#include "platform/foundation/NSIndexPath.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIScrollViewDelegate.h"

class UITableView;

// The scroll view delegate is a virtual base, so that one object may be the delegate of
// table and collection views alike.
class UITableViewDelegate : public virtual UIScrollViewDelegate {
public:
    // The row's height; absent, every row has the table's rowHeight.
    virtual CGFloat tableViewHeightForRowAtIndexPath(UITableView& tableView,
                                                     const NSIndexPath& indexPath);
    // A tap selected the row (also when it was selected already).
    virtual void tableViewDidSelectRowAtIndexPath(UITableView& tableView,
                                                  const NSIndexPath& indexPath) {}
};
