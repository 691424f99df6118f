#include "form/message_caption.h"

namespace ordinalette::form {

const char* messageCaption(MsgDlgType type) {
    switch (type) {
    case MsgDlgType::Warning:
        return "警告";
    case MsgDlgType::Error:
        return "エラー";
    case MsgDlgType::Information:
        return "情報";
    case MsgDlgType::Confirmation:
        return "確認";
    case MsgDlgType::Custom:
        break;
    }
    return nullptr;
}

} // namespace ordinalette::form
