#include "engine/in_out_error.h"

namespace ordinalette::engine {

std::string inOutErrorMessage(int code) {
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
    default:
        return "I/O エラー (" + std::to_string(code) + ")";
    }
}

EInOutError::EInOutError(int code) : std::runtime_error(inOutErrorMessage(code)), m_code(code) {}

void check(int error) {
    if (error != platform::error::None)
        throw EInOutError(error);
}

} // namespace ordinalette::engine
