#include "app/form_layout.h"

namespace ordinalette::app {

namespace {

using K = ControlKind;
using C = SystemColor;

constexpr FormDescription kForm1{"Ordinalette  Ver0.11", 204, 55, 616, 447};

// One row per control; kept in table form for reading against the layout.
// clang-format off
const ControlDescription kControls[] = {
    {.name = "ShellTreeView1", .kind = K::ShellTreeView, .parent = nullptr,
     .left = 8, .top = 8, .width = 201, .height = 393, .tabOrder = 2,
     .accessibleName = "フォルダ"},
    {.name = "ListBox1", .kind = K::ListBox, .parent = nullptr,
     .left = 216, .top = 8, .width = 217, .height = 409, .tabOrder = 4,
     .accessibleName = "ファイル"},
    {.name = "StatusBar1", .kind = K::StatusBar, .parent = nullptr,
     .left = 0, .top = 422, .width = 616, .height = 25},
    {.name = "GroupBox1", .kind = K::GroupBox, .parent = nullptr,
     .left = 440, .top = 8, .width = 169, .height = 329, .text = "ファイル名の設定",
     .tabOrder = 7},
    {.name = "Label1", .kind = K::Label, .parent = "GroupBox1",
     .left = 16, .top = 24, .width = 64, .height = 12, .text = "ﾌｫﾙﾀﾞからの"},
    {.name = "Label2", .kind = K::Label, .parent = "GroupBox1",
     .left = 32, .top = 40, .width = 48, .height = 12, .text = "添付桁数"},
    {.name = "Label3", .kind = K::Label, .parent = "GroupBox1",
     .left = 16, .top = 304, .width = 4, .height = 12},
    {.name = "GroupBox2", .kind = K::GroupBox, .parent = "GroupBox1",
     .left = 8, .top = 96, .width = 153, .height = 81, .text = "連番の桁数の設定",
     .tabOrder = 3},
    {.name = "RadioButton1", .kind = K::RadioButton, .parent = "GroupBox2",
     .left = 8, .top = 24, .width = 65, .height = 17, .text = "自動設定", .tabOrder = 0,
     .tabStop = TabStop::WhileChecked, .checked = true},
    {.name = "RadioButton2", .kind = K::RadioButton, .parent = "GroupBox2",
     .left = 8, .top = 52, .width = 73, .height = 17, .text = "桁数指定", .tabOrder = 1,
     .tabStop = TabStop::WhileChecked},
    {.name = "SpinEdit1", .kind = K::SpinEdit, .parent = "GroupBox1",
     .left = 96, .top = 32, .width = 57, .height = 21, .text = "4", .tabOrder = 0,
     .color = C::Window, .minValue = 0, .maxValue = 100,
     .accessibleName = "ﾌｫﾙﾀﾞからの添付桁数"},
    {.name = "Edit1", .kind = K::Edit, .parent = "GroupBox1",
     .left = 96, .top = 64, .width = 57, .height = 20, .tabOrder = 2, .enabled = false,
     .color = C::InactiveCaptionText, .accessibleName = "区切り文字"},
    {.name = "CheckBox1", .kind = K::CheckBox, .parent = "GroupBox1",
     .left = 16, .top = 64, .width = 73, .height = 25, .text = "区切り文字", .tabOrder = 1},
    {.name = "SpinEdit2", .kind = K::SpinEdit, .parent = "GroupBox1",
     .left = 96, .top = 144, .width = 57, .height = 21, .text = "0", .tabOrder = 4,
     .enabled = false, .color = C::InactiveCaptionText, .minValue = 0, .maxValue = 100,
     .accessibleName = "桁数指定"},
    {.name = "RadioGroup1", .kind = K::RadioGroup, .parent = "GroupBox1",
     .left = 8, .top = 184, .width = 153, .height = 73, .text = "拡張子", .tabOrder = 5,
     .tabStop = TabStop::WhileChecked, .items = "小文字\n大文字\n変更しない", .itemIndex = 0},
    {.name = "BitBtn1", .kind = K::BitBtn, .parent = nullptr,
     .left = 448, .top = 368, .width = 75, .height = 25, .text = "Start", .tabOrder = 0,
     .tabStop = TabStop::Yes, .defaultButton = true},
    {.name = "BitBtn2", .kind = K::BitBtn, .parent = nullptr,
     .left = 528, .top = 368, .width = 75, .height = 25, .text = "End", .tabOrder = 1,
     .tabStop = TabStop::Yes, .cancelButton = true},
    {.name = "FilterComboBox1", .kind = K::FilterComboBox, .parent = nullptr,
     .left = 8, .top = 400, .width = 201, .height = 20,
     .text = "すべてのファイル (*.*)|*.*|JPEGファイル|*.jpg|GIFファイル|*.gif|"
             "PNGファイル|*.png|テキストファイル|*.txt",
     .tabOrder = 3},
    {.name = "ProgressBar1", .kind = K::ProgressBar, .parent = nullptr,
     .left = 440, .top = 400, .width = 169, .height = 16, .tabOrder = 6,
     .minValue = 0, .maxValue = 100, .step = 10},
};
// clang-format on

} // namespace

const FormDescription& form1Description() {
    return kForm1;
}

std::span<const ControlDescription> form1Controls() {
    return kControls;
}

} // namespace ordinalette::app
