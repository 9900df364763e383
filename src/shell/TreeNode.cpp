#include "shell/TreeNode.h"

#include <algorithm>
#include <utility>

#include "shell/TreeView.h"

namespace tessaline::shell {

TreeNode::TreeNode(TreeView& tree, std::string key, std::string text)
    : tree_(tree), key_(std::move(key)), text_(std::move(text)) {}

void TreeNode::SetText(const std::string& text) {
    text_ = text;
    tree_.nodeChanged();
}

void TreeNode::SetExpanded(bool expanded) {
    if (expanded_ == expanded) return;
    expanded_ = expanded;
    tree_.nodeChanged();
}

int TreeNode::Index() const { return tree_.Nodes().indexOf(*this); }

std::vector<TreeNode*>& TreeNode::siblings() const { return parent_ ? parent_->children_ : tree_.Nodes().roots_; }

TreeNode* TreeNode::Next() const {
    const auto& list = siblings();
    auto it = std::find(list.begin(), list.end(), this);
    return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
}

TreeNode* TreeNode::Previous() const {
    const auto& list = siblings();
    auto it = std::find(list.begin(), list.end(), this);
    return (it == list.end() || it == list.begin()) ? nullptr : *(it - 1);
}

TreeNode* TreeNode::FirstSibling() const { return siblings().front(); }

TreeNode* TreeNode::LastSibling() const { return siblings().back(); }

TreeNode* TreeNode::Root() const {
    const TreeNode* node = this;
    while (node->parent_) node = node->parent_;
    return node->FirstSibling();
}

}  // namespace tessaline::shell
