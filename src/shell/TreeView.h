#pragma once

#include <functional>
#include <string>

#include "shell/Control.h"
#include "shell/TreeNodes.h"

namespace tessaline::shell {

// A tree view with VB's keyed nodes.
class TreeView : public Control {
public:
    TreeView(std::string name, int left, int top, int width, int height);

    TreeNodes& Nodes() { return nodes_; }
    const TreeNodes& Nodes() const { return nodes_; }

    // The selected node, nullptr when none is.
    TreeNode* SelectedItem() const { return selected_; }
    void SetSelectedItem(TreeNode* node);

    // Expands or collapses every node at every depth.
    void setAllExpanded(bool expanded);

    std::function<void(TreeNode& node)> onNodeClick;

private:
    friend class TreeNode;
    friend class TreeNodes;
    void nodeChanged() { changed(); }
    void forget(const TreeNode* node);

    TreeNodes nodes_;
    TreeNode* selected_ = nullptr;
};

}  // namespace tessaline::shell
