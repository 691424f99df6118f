#include "foldertree/rename_failure.h"

#include "platform/error_message.h"
#include "platform/text_services.h"

namespace ordinalette::foldertree {

std::string renameFailure(std::string_view folderName, const platform::CodePage& codePage,
                          int error) {
    const std::string folder = platform::encodeText(platform::decodeText(folderName, codePage),
                                                    platform::CodePage::utf8());
    return "フォルダ " + folder + " の名前を変更できません\n" + platform::errorMessage(error);
}

} // namespace ordinalette::foldertree
