#pragma once

#include <string>

#include "shell/Control.h"

namespace tessaline::shell {
class Form1;
class TreeNode;
}  // namespace tessaline::shell

namespace tessaline::sources {

// The key of the node made from a sheet cell: "K_" and the cell's relative address ("K_B7"). Keys are
// unique per sheet and lead back to the cell.
std::string NodeKeyOfAddress(const std::string& relativeAddress);
// The cell address a node key stands for: the key with every "K_" removed.
std::string AddressOfNodeKey(const std::string& key);

// The check box shows the tree when ticked and hides it otherwise; hiding keeps the nodes.
void Chk_Treeview_Click(shell::Form1& form);
// The right button opens the Viewer menu.
void TreeView1_MouseDown(shell::Form1& form, const shell::MouseEvent& mouse);
// Viewer "加载": builds the tree from the chosen host's sheet of the toolbar source, or from its
// "Framework" sheet with no host chosen.
void Fill_Click(shell::Form1& form);
// Viewer "展开" and "合并": every node at every depth.
void Expand_Click(shell::Form1& form);
void Merge_Click(shell::Form1& form);
// Puts the clicked item's caption, index and ID into the tree's tool tip; with no host chosen, the
// description the "Framework" sheet keeps for that row.
void TreeView1_NodeClick(shell::Form1& form, shell::TreeNode& node);

}  // namespace tessaline::sources
