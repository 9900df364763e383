#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/Object.h"
#include "shell/TreeNode.h"

namespace tessaline::shell {

// Relationship codes of Nodes.Add.
namespace tvw {
constexpr int First = 0;
constexpr int Last = 1;
constexpr int Next = 2;
constexpr int Previous = 3;
constexpr int Child = 4;
}  // namespace tvw

namespace tvwerr {
constexpr int IndexOutOfBounds = 35600;  // "Index out of bounds"
constexpr int ElementNotFound = 35601;   // "Element not found"
constexpr int KeyNotUnique = 35602;      // "Key is not unique in collection"
constexpr int InvalidKey = 35603;        // "Invalid key"
}  // namespace tvwerr

// The Nodes collection of a TreeView, 1-based in the order the nodes were added.
class TreeNodes {
public:
    explicit TreeNodes(TreeView& tree) : tree_(tree) {}
    TreeNodes(const TreeNodes&) = delete;
    TreeNodes& operator=(const TreeNodes&) = delete;

    // Add(Relative, Relationship, Key, Text). Relative is a key (text) or a 1-based index (number); with no
    // relative the node becomes the last top-level node. Relationship defaults to tvwNext. A key already
    // in use raises 35602, a key of digits only 35603, a relative that does not exist 35601. An empty key
    // means the node has none.
    TreeNode& Add(const automation::Optional& relative = std::nullopt,
                  const automation::Optional& relationship = std::nullopt, const std::string& key = "",
                  const std::string& text = "");
    // By key or by 1-based index; raises 35601 for an unknown key, 35600 for an index out of range.
    TreeNode& Item(const automation::Variant& keyOrIndex) const;
    bool Exists(const std::string& key) const;
    int Count() const { return static_cast<int>(nodes_.size()); }
    // Removes the node and everything below it.
    void Remove(const automation::Variant& keyOrIndex);
    void Clear();

    // The top-level nodes in display order.
    const std::vector<TreeNode*>& roots() const { return roots_; }
    int indexOf(const TreeNode& node) const;

private:
    friend class TreeNode;
    std::vector<std::unique_ptr<TreeNode>> nodes_;
    std::vector<TreeNode*> roots_;
    // Nodes by key: a tree of a whole recorded host holds tens of thousands of keyed nodes, and every Add
    // looks its relative and its own key up.
    std::unordered_map<std::string, TreeNode*> byKey_;
    TreeView& tree_;
};

}  // namespace tessaline::shell
