#pragma once

#include "foldertree/shell_tree_observer.h"
#include "foldertree/t_shell_folder_item.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ordinalette::foldertree::testing {

// Writes down every change the tree reports, with the parent's child count when it began and
// when it ended, so that a report made after the change (or never ended) shows.
class Recorder : public ShellTreeObserver {
public:
    std::vector<std::string> events;

    void beginInsert(TShellFolderItem* parent, std::size_t first, std::size_t last) override {
        begin("insert", parent, first, last);
    }
    void endInsert() override { end(); }
    void beginRemove(TShellFolderItem* parent, std::size_t first, std::size_t last) override {
        begin("remove", parent, first, last);
    }
    void endRemove() override { end(); }
    void beginMove(TShellFolderItem* parent, std::size_t from, std::size_t to) override {
        begin("move", parent, from, to);
    }
    void endMove() override { end(); }
    void beginReset() override { events.emplace_back("reset"); }
    void endReset() override {}
    void changed(TShellFolderItem* node) override {
        events.push_back("changed " + node->DisplayName());
    }
    void requestExpand(TShellFolderItem*) override {}
    void requestCollapse(TShellFolderItem*) override {}
    void requestSelect(TShellFolderItem*) override {}

private:
    void begin(const char* what, TShellFolderItem* parent, std::size_t first, std::size_t last) {
        m_parent = parent;
        m_event = std::string(what) + " " + std::to_string(first) + "-" + std::to_string(last) +
                  " of " + std::to_string(count());
    }
    void end() { events.push_back(m_event + " to " + std::to_string(count())); }
    std::size_t count() const { return m_parent ? m_parent->children.size() : 1; }

    TShellFolderItem* m_parent = nullptr;
    std::string m_event;
};

} // namespace ordinalette::foldertree::testing
