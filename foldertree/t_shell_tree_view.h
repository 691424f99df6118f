#pragma once

#include <QTreeWidget>

#include <string>

namespace ordinalette::foldertree {

// The tree of the shell namespace in which the user picks the folder to work on.
class TShellTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TShellTreeView(QWidget* parent = nullptr);

    // File-system path of the selected item, or empty when it has none.
    std::string Path() const;
    // Selects the item of that path; nothing happens when the path names no item.
    void SetPath(const std::string& path);
    // Collapses every node; collapsed nodes keep their children.
    void FullCollapse();

Q_SIGNALS:
    // Fires on every change of the selected node, by the user or by the program.
    void OnChange();
};

} // namespace ordinalette::foldertree
