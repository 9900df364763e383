#pragma once

#include <string>
#include <vector>

namespace tessaline::shell {

class TreeView;

// One node of a TreeView. Nodes are owned by their tree's Nodes collection; a reference stays valid until
// the node is removed or the collection cleared.
class TreeNode {
public:
    TreeNode(TreeView& tree, std::string key, std::string text);
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded);
    // 1-based position in the tree's Nodes collection (the order of adding).
    int Index() const;

    // Navigation; nullptr where VB gives Nothing.
    TreeNode* Parent() const { return parent_; }
    int Children() const { return static_cast<int>(children_.size()); }
    TreeNode* Child() const { return children_.empty() ? nullptr : children_.front(); }
    TreeNode* Next() const;
    TreeNode* Previous() const;
    TreeNode* FirstSibling() const;
    TreeNode* LastSibling() const;
    TreeNode* Root() const;
    // The children in display order.
    const std::vector<TreeNode*>& childNodes() const { return children_; }

private:
    friend class TreeNodes;
    friend class TreeView;
    // The list this node sits in: its parent's children, or the tree's roots.
    std::vector<TreeNode*>& siblings() const;

    TreeView& tree_;
    std::string key_;
    std::string text_;
    bool expanded_ = false;
    TreeNode* parent_ = nullptr;
    std::vector<TreeNode*> children_;
};

}  // namespace tessaline::shell
