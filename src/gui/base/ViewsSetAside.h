#pragma once
// Commands that need the table files to themselves (loading a base, packing,
// emptying) close the main window's views first and open them again after.

#include <initializer_list>
#include <vector>

namespace kv::store {
class Table;
}

namespace kv::gui {

// Closes the open ones among the given views, in the given order (a pending
// edit is dropped), and opens them again for shared use, in the same order,
// when reopen() is called or at the latest when it goes out of scope, so a
// failed command never leaves the views closed. Views that were closed
// before stay closed.
class ViewsSetAside
{
public:
    explicit ViewsSetAside(std::initializer_list<kv::store::Table *> views);
    ~ViewsSetAside();
    ViewsSetAside(const ViewsSetAside &) = delete;
    ViewsSetAside &operator=(const ViewsSetAside &) = delete;

    // A view that cannot be opened is reported through the default error
    // display and the others are still opened. False when one failed.
    bool reopen();

private:
    std::vector<kv::store::Table *> closed_;
    bool reopened_ = false;
};

// The hourglass cursor while alive.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace kv::gui
