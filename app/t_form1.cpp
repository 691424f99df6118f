#include "app/t_form1.h"

#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/error_box.h"
#include "app/form_builder.h"
#include "app/form_keyboard.h"
#include "app/images.h"
#include "app/tree/t_shell_tree_view.h"
#include "form/form_layout.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <utility>

namespace ordinalette::app {

TForm1::TForm1(platform::FileSystem& fileSystem, const platform::CodePage& codePage,
               const platform::TextCollator& collator,
               const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
               std::string journalDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Form1Controls(this, codePage), form::TForm1(static_cast<form::FormControls&>(*this),
                                                  fileSystem, codePage, collator,
                                                  std::move(journalDirectory)) {
    setObjectName("Form1");
    // The style's metrics (expand buttons, scroll bars and their arrows, the combo box's arrow)
    // keep their pixel sizes at every screen density, as the stored geometry and the window's
    // pixel-sized font do.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    buildForm(this, form::form1Description(), form::form1Controls(),
              {shellNamespace, codePage, collator});
    findControls();
    m_keyboard = new FormKeyboard(tabChain(this, form::form1Controls()), BitBtn1, BitBtn2, this);
    bindHandlers();
    buildListMenu();
    start();
}

TForm1::~TForm1() = default;

void TForm1::bindHandlers() {
    // Changes made by the program report like the user's, so the handlers also run nested.
    const auto bind = [this](auto* sender, auto signal, form::Control control) {
        connect(sender, signal, this, [this, control] { controlChanged(control); });
    };
    const auto bindChecked = [this](QAbstractButton* sender, form::Control control) {
        connect(sender, &QAbstractButton::toggled, this, [this, control](bool checked) {
            if (checked)
                controlChanged(control);
        });
    };
    using form::Control;
    bind(ShellTreeView1, &foldertree::TShellTreeView::OnChange, Control::ShellTreeView1);
    connect(ShellTreeView1, &foldertree::TShellTreeView::errorRaised, this, &showException);
    bind(FilterComboBox1, &TFilterComboBox::OnChange, Control::FilterComboBox1);
    bind(CheckBox1, &QCheckBox::toggled, Control::CheckBox1);
    bind(Edit1, &QLineEdit::textChanged, Control::Edit1);
    bind(SpinEdit1, &TSpinEdit::OnChange, Control::SpinEdit1);
    bind(SpinEdit2, &TSpinEdit::OnChange, Control::SpinEdit2);
    bindChecked(RadioButton1, Control::RadioButton1);
    bindChecked(RadioButton2, Control::RadioButton2);
    bind(RadioGroup1, &TRadioGroup::OnClick, Control::RadioGroup1);
    bind(BitBtn1, &QAbstractButton::clicked, Control::BitBtn1);
    bind(BitBtn2, &QAbstractButton::clicked, Control::BitBtn2);
    connect(m_keyboard, &FormKeyboard::undoRequested, this, [this] { undoRequested(); });
}

void TForm1::buildListMenu() {
    ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
    addListMenuEntry("新しい名前の一覧", QKeySequence(Qt::Key_F3),
                     [this] { namePreviewRequested(); });
    // Ctrl+Z works anywhere already, through the window's keyboard.
    addListMenuEntry("元に戻す", {}, [this] { undoRequested(); });
}

void TForm1::addListMenuEntry(const char* text, const QKeySequence& shortcut,
                              const std::function<void()>& action) {
    auto* entry = new QAction(QString::fromUtf8(text), ListBox1);
    entry->setShortcut(shortcut);
    connect(entry, &QAction::triggered, this, action);
    ListBox1->addAction(entry);
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->setAccepted(closeRequested());
}

bool TForm1::focusNextPrevChild(bool next) {
    return m_keyboard->focusNextTabStop(next);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!focusWidget())
        m_keyboard->focusNextTabStop(true);
    if (std::exchange(m_shownBefore, true))
        return;
    // Placed once its frame is known, before it is mapped.
    keepInsideScreen(this);
    // The icon, whose every size the window system takes at once, and the questions about
    // interrupted runs come once the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        setWindowIcon(images::mainIcon());
        offerInterruptedRuns();
    });
}

} // namespace ordinalette::app
