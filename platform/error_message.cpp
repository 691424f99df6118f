#include "platform/error_message.h"

#include "platform/error_number.h"

namespace ordinalette::platform {

std::string errorMessage(int code) {
    switch (code) {
    case 2:
        return "ファイルが見つかりません";
    case 3:
        return "不正なファイル名です";
    case 4:
        return "オープンしたファイルが多すぎます";
    case 5:
        return "ファイルへのアクセスが拒否されました";
    case 100:
        return "ファイルの末尾以降を読み込みました";
    case 101:
        return "ディスクがいっぱいです";
    case 106:
        return "入力値が数値ではありません";
    case error::LeftUnderBothNames:
        return "ファイルが元の名前と新しい名前の両方に残っています";
    default:
        return "I/O エラー (" + std::to_string(code) + ")";
    }
}

} // namespace ordinalette::platform
