#pragma once
// A combo box that announces each opening of its list before the list shows,
// so that its owner can fill the list afresh.

#include <QComboBox>

namespace kv::widgets {

class DropDownComboBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void dropDown();
};

} // namespace kv::widgets
