#include "shell/TreeView.h"

#include <functional>
#include <utility>

namespace tessaline::shell {

TreeView::TreeView(std::string name, int left, int top, int width, int height)
    : Control(std::move(name), left, top, width, height), nodes_(*this) {}

void TreeView::SetSelectedItem(TreeNode* node) {
    selected_ = node;
    changed();
}

// nullptr means every node is going.
void TreeView::forget(const TreeNode* node) {
    if (node == nullptr || selected_ == node) selected_ = nullptr;
}

void TreeView::setAllExpanded(bool expanded) {
    std::function<void(TreeNode&)> walk = [&](TreeNode& node) {
        node.expanded_ = expanded;
        for (TreeNode* child : node.childNodes()) walk(*child);
    };
    for (TreeNode* root : nodes_.roots()) walk(*root);
    changed();
}

}  // namespace tessaline::shell
