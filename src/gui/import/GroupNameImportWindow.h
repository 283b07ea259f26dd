#pragma once
// The group-name import window: a plain list of group names, one per line,
// loaded into the groups table of the main window after the groups already
// there, numbered on from the last one.
// Created at start-up with the other windows; lives until the program ends,
// keeping its text from one opening to the next.

#include "ListImportWindow.h"

namespace kv::gui {

class TForm4 : public ListImportWindow
{
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

public slots:
    // Appends one group per non-blank line (blank lines make nothing and
    // leave no gap), then closes and shows the "Группы" tab. A failure is
    // reported and leaves the window open with the earlier lines stored.
    void N3_ZagrClick() override;
};

} // namespace kv::gui
