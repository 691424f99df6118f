#include "app/form_builder.h"

#include "app/controls/field_color.h"
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/tree/t_shell_tree_view.h"
#include "platform/text_services.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <stdexcept>

namespace ordinalette::app {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QWidget* createControl(const form::ControlDescription& d, QWidget* parent,
                       const ControlSources& sources) {
    switch (d.kind) {
    case form::ControlKind::ShellTreeView: {
        auto* tree = new foldertree::TShellTreeView(sources.shellNamespace, parent);
        tree->setIndentation(19);
        tree->setRootIsDecorated(false);
        return tree;
    }
    case form::ControlKind::ListBox:
        return new TListBox(sources.codePage, sources.collator, parent);
    case form::ControlKind::StatusBar:
        return new TStatusBar(parent);
    case form::ControlKind::GroupBox:
        return new QGroupBox(text(d.text), parent);
    case form::ControlKind::Label:
        return new TLabel(parent);
    case form::ControlKind::RadioButton: {
        auto* button = new QRadioButton(text(d.text), parent);
        button->setChecked(d.checked);
        return button;
    }
    case form::ControlKind::SpinEdit: {
        auto* spin = new TSpinEdit(parent);
        spin->SetMinValue(d.minValue);
        spin->SetMaxValue(d.maxValue);
        spin->setText(text(d.text));
        return spin;
    }
    case form::ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        edit->setText(text(d.text));
        return edit;
    }
    case form::ControlKind::CheckBox: {
        auto* box = new QCheckBox(text(d.text), parent);
        box->setChecked(d.checked);
        return box;
    }
    case form::ControlKind::RadioGroup: {
        auto* group = new TRadioGroup(parent);
        group->setTitle(text(d.text));
        group->setItems(text(d.items).split(u'\n'));
        group->SetItemIndex(d.itemIndex);
        return group;
    }
    case form::ControlKind::BitBtn: {
        auto* button = new TBitBtn(parent);
        button->setText(text(d.text));
        button->setKind(d.defaultButton  ? TBitBtn::Kind::Ok
                        : d.cancelButton ? TBitBtn::Kind::Cancel
                                         : TBitBtn::Kind::Custom);
        return button;
    }
    case form::ControlKind::FilterComboBox: {
        auto* filter = new TFilterComboBox(sources.codePage, parent);
        filter->setFilter(platform::encodeText(text(d.text).toStdU16String(), sources.codePage));
        return filter;
    }
    case form::ControlKind::ProgressBar: {
        auto* bar = new TProgressBar(parent);
        bar->setMin(d.minValue);
        bar->setMax(d.maxValue);
        bar->setStep(d.step);
        return bar;
    }
    }
    throw std::logic_error("unknown control kind");
}

// Which controls the Tab key and the mouse may give the focus to.
Qt::FocusPolicy focusPolicyOf(const form::ControlDescription& d) {
    switch (d.kind) {
    case form::ControlKind::StatusBar:
    case form::ControlKind::GroupBox:
    case form::ControlKind::Label:
    case form::ControlKind::RadioGroup:
    case form::ControlKind::ProgressBar:
        return Qt::NoFocus;
    default:
        return d.tabStop == form::TabStop::No ? Qt::ClickFocus : Qt::StrongFocus;
    }
}

QWidget* parentOf(QWidget* form, const form::ControlDescription& d) {
    if (!d.parent)
        return form;
    auto* parent = form->findChild<QWidget*>(QString::fromUtf8(d.parent));
    if (!parent)
        throw std::logic_error(std::string("parent created after its child: ") + d.name);
    return parent;
}

// A widget styled by a style sheet passes no font on to its children: without this rule the
// controls inside the group boxes fell back to the application's font, which grows with the
// screen's density and the desktop's theme. The rule gives every widget of the window its font.
QString fontRule(const QFont& font) {
    QStringList families;
    for (const QString& family : font.families())
        families << u'"' + family + u'"';
    return QStringLiteral("* { font-family: %1; font-size: %2px; }")
        .arg(families.join(QStringLiteral(", ")))
        .arg(font.pixelSize());
}

} // namespace

QFont form1Font() {
    const QStringList asked = {text("ＭＳ Ｐゴシック"), text("MS PGothic"), text("IPAPGothic"),
                               text("Noto Sans CJK JP")};
    // The families that are installed, in the order asked: the first of them is the font either
    // way, and each family that is not installed would cost a walk through every substitution
    // rule of fontconfig at start-up. With none installed, fontconfig substitutes as it would.
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString& family : asked) {
        if (installed.contains(family, Qt::CaseInsensitive))
            families << family;
    }
    QFont font;
    font.setFamilies(families.isEmpty() ? asked : families);
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void buildForm(QWidget* form, const form::FormDescription& description,
               std::span<const form::ControlDescription> controls, const ControlSources& sources) {
    form->setWindowTitle(text(description.caption));
    form->setFont(form1Font());
    // Group captions sit on the frame's top line and check marks stand close to their text, as
    // in the classic look the stored geometry was laid out for.
    form->setStyleSheet(
        fontRule(form->font()) +
        text("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
             "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"
             "QCheckBox, QRadioButton { spacing: 2px; }"
             "QCheckBox::indicator, QRadioButton::indicator { width: 12px; height: 12px; }"));
    form->setFixedSize(description.clientWidth, description.clientHeight);
    form->move(description.left, description.top);
    for (const form::ControlDescription& d : controls) {
        QWidget* control = createControl(d, parentOf(form, d), sources);
        control->setObjectName(QString::fromUtf8(d.name));
        control->setGeometry(d.left, d.top, d.width, d.height);
        control->setFocusPolicy(focusPolicyOf(d));
        control->setEnabled(d.enabled);
        if (d.color)
            setFieldColor(control, *d.color);
        if (auto* label = qobject_cast<TLabel*>(control))
            label->setCaption(text(d.text));
        if (d.accessibleName)
            control->setAccessibleName(text(d.accessibleName));
        else if (qobject_cast<QGroupBox*>(control))
            control->setAccessibleName(text(d.text));
        control->show();
    }
}

void keepInsideScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    if (available.contains(frame))
        return;
    const int x =
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int y =
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    window->move(x, y); // the frame's corner, as a window's position is
}

std::vector<TabEntry> tabChain(QWidget* form, std::span<const form::ControlDescription> controls) {
    std::vector<TabEntry> chain;
    for (const form::TabPlace& place : form::tabChain(controls)) {
        auto* widget = form->findChild<QWidget*>(QString::fromUtf8(place.control->name));
        if (place.item >= 0) {
            auto* group = qobject_cast<TRadioGroup*>(widget);
            if (!group)
                throw std::logic_error(std::string("no radio group: ") + place.control->name);
            widget = group->button(place.item);
        }
        chain.push_back({widget, place.tabStop});
    }
    return chain;
}

} // namespace ordinalette::app
