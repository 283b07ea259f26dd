#include "DropDownComboBox.h"

namespace kv::widgets {

void DropDownComboBox::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

} // namespace kv::widgets
