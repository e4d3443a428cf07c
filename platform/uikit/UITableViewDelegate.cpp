#include "platform/uikit/UITableViewDelegate.h"

#include "platform/uikit/UITableView.h"

CGFloat UITableViewDelegate::tableViewHeightForRowAtIndexPath(UITableView& tableView,
                                                              const NSIndexPath&) {
    return tableView.rowHeight();
}
