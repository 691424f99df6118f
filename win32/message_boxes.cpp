#include "win32/message_boxes.h"

#include "form/error_text.h"
#include "form/message_caption.h"
#include "win32/system_text.h"

#include <algorithm>
#include <stdexcept>

namespace ordinalette::win32 {

namespace {

using form::MsgDlgBtn;

UINT iconOf(form::MsgDlgType type) {
    switch (type) {
    case form::MsgDlgType::Warning:
        return MB_ICONWARNING;
    case form::MsgDlgType::Error:
        return MB_ICONERROR;
    case form::MsgDlgType::Information:
        return MB_ICONINFORMATION;
    case form::MsgDlgType::Confirmation:
        return MB_ICONQUESTION;
    case form::MsgDlgType::Custom:
        break;
    }
    return 0;
}

// The platform box's set of exactly these buttons.
UINT buttonsOf(std::initializer_list<MsgDlgBtn> asked) {
    const auto is = [&](std::initializer_list<MsgDlgBtn> set) {
        return asked.size() == set.size() && std::all_of(set.begin(), set.end(), [&](MsgDlgBtn b) {
                   return std::find(asked.begin(), asked.end(), b) != asked.end();
               });
    };
    if (is({MsgDlgBtn::Ok}))
        return MB_OK;
    if (is({MsgDlgBtn::Ok, MsgDlgBtn::Cancel}))
        return MB_OKCANCEL;
    if (is({MsgDlgBtn::Yes, MsgDlgBtn::No}))
        return MB_YESNO;
    if (is({MsgDlgBtn::Yes, MsgDlgBtn::No, MsgDlgBtn::Cancel}))
        return MB_YESNOCANCEL;
    if (is({MsgDlgBtn::Retry, MsgDlgBtn::Cancel}))
        return MB_RETRYCANCEL;
    if (is({MsgDlgBtn::Abort, MsgDlgBtn::Retry, MsgDlgBtn::Ignore}))
        return MB_ABORTRETRYIGNORE;
    throw std::logic_error("the message box has no such set of buttons");
}

} // namespace

int showMessageBox(HWND owner, std::u16string_view message, form::MsgDlgType type,
                   std::initializer_list<MsgDlgBtn> buttons) {
    const char* caption = form::messageCaption(type);
    // The box's results are the dialog's: IDOK is kResultOk, IDYES kResultYes, and so on; its
    // close box gives IDCANCEL where it has one.
    return MessageBoxA(owner, systemText(message).c_str(),
                       systemText(caption ? caption : kApplicationTitle).c_str(),
                       buttonsOf(buttons) | iconOf(type));
}

void showErrorBox(HWND owner, const std::string& message) {
    ReleaseCapture();
    MessageBoxA(owner, systemText(form::errorBoxText(message).c_str()).c_str(),
                systemText(kApplicationTitle).c_str(), MB_OK | MB_ICONSTOP);
}

} // namespace ordinalette::win32
