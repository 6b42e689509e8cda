#pragma once

#include "state/TextBuffer.h"

#include <QtGlobal>

namespace quorvane {

// The multi-line text editor: its mode and the four texts of the other-files window that it edits.
struct StringEditState {
    qint16 gStringEditMode = 0; // 1 description, 3 name, 13 ingredient, 14 special message, 15 advert, 16 shop name
    TextBuffer gIngredientText;
    TextBuffer gSpecialMsgText;
    TextBuffer gAdvertText;
    TextBuffer gShopNameText;
};

StringEditState& gStringEdit();

} // namespace quorvane
