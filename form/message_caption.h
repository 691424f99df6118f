#pragma once

#include "form/dialog_question.h"

namespace ordinalette::form {

// The caption of a message dialog of a kind (UTF-8); nullptr for the custom kind, whose
// caption is the application's title.
const char* messageCaption(MsgDlgType type);

} // namespace ordinalette::form
