#include "form/form_layout.h"

#include <algorithm>
#include <string_view>

namespace ordinalette::form {

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

// The number of items of a radio group, one per line of its items.
int itemCount(const ControlDescription& group) {
    if (!group.items)
        return 0;
    const std::string_view items(group.items);
    return static_cast<int>(std::count(items.begin(), items.end(), '\n')) + 1;
}

bool isChildOf(const ControlDescription& d, const char* parent) {
    return (!d.parent && !parent) || (d.parent && parent && std::string_view(d.parent) == parent);
}

void appendChildren(const char* parent, std::span<const ControlDescription> controls,
                    std::vector<TabPlace>& chain) {
    std::vector<const ControlDescription*> children;
    for (const ControlDescription& d : controls) {
        if (isChildOf(d, parent) && d.tabOrder >= 0)
            children.push_back(&d);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });
    for (const ControlDescription* d : children) {
        const bool group = d->kind == ControlKind::RadioGroup;
        chain.push_back({d, -1, group ? TabStop::No : d->tabStop});
        if (group) {
            for (int i = 0; i < itemCount(*d); ++i)
                chain.push_back({d, i, d->tabStop});
        }
        appendChildren(d->name, controls, chain);
    }
}

} // namespace

const FormDescription& form1Description() {
    return kForm1;
}

std::span<const ControlDescription> form1Controls() {
    return kControls;
}

std::vector<TabPlace> tabChain(std::span<const ControlDescription> controls) {
    std::vector<TabPlace> chain;
    appendChildren(nullptr, controls, chain);
    return chain;
}

} // namespace ordinalette::form
