#include "ViewsSetAside.h"

#include "gui/MessageService.h"
#include "platform/store/Table.h"

#include <QApplication>

namespace kv::gui {

ViewsSetAside::ViewsSetAside(std::initializer_list<kv::store::Table *> views)
{
    for (kv::store::Table *view : views) {
        if (!view->isOpen())
            continue;
        closed_.push_back(view);
        view->close();
    }
}

ViewsSetAside::~ViewsSetAside()
{
    reopen();
}

bool ViewsSetAside::reopen()
{
    if (reopened_)
        return true;
    reopened_ = true;
    bool all = true;
    for (kv::store::Table *view : closed_) {
        all = runGuarded([view] {
                  view->close();
                  view->setExclusive(false);
                  view->open();
              }) &&
              all;
    }
    return all;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace kv::gui
