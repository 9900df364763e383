#include "shell/TreeNodes.h"

#include <algorithm>
#include <functional>

#include "automation/AutomationError.h"
#include "shell/TreeView.h"

namespace tessaline::shell {

namespace {

automation::AutomationError treeError(int number) {
    switch (number) {
        case tvwerr::IndexOutOfBounds:
            return {number, "Index out of bounds"};
        case tvwerr::KeyNotUnique:
            return {number, "Key is not unique in collection"};
        case tvwerr::InvalidKey:
            return {number, "Invalid key"};
        default:
            return {tvwerr::ElementNotFound, "Element not found"};
    }
}

// A key of digits only would be taken for an index, so the control refuses it.
bool isNumericKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool TreeNodes::Exists(const std::string& key) const { return !key.empty() && byKey_.contains(key); }

TreeNode& TreeNodes::Item(const automation::Variant& keyOrIndex) const {
    if (keyOrIndex.isString()) {
        const auto found = byKey_.find(keyOrIndex.asStringRaw());
        if (found == byKey_.end()) throw treeError(tvwerr::ElementNotFound);
        return *found->second;
    }
    const auto index = keyOrIndex.toLong();
    if (index < 1 || index > Count()) throw treeError(tvwerr::IndexOutOfBounds);
    return *nodes_[static_cast<std::size_t>(index - 1)];
}

int TreeNodes::indexOf(const TreeNode& node) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].get() == &node) return static_cast<int>(i) + 1;
    }
    return 0;
}

TreeNode& TreeNodes::Add(const automation::Optional& relative, const automation::Optional& relationship,
                         const std::string& key, const std::string& text) {
    TreeNode* rel = nullptr;
    if (relative && !relative->isEmpty()) {
        if (relative->isString() && relative->asStringRaw().empty()) {
            rel = nullptr;
        } else {
            try {
                rel = &Item(*relative);
            } catch (const automation::AutomationError&) {
                throw treeError(tvwerr::ElementNotFound);
            }
        }
    }
    const int how = (relationship && !relationship->isEmpty()) ? relationship->toLong() : tvw::Next;
    if (rel && (how < tvw::First || how > tvw::Child)) throw automation::invalidCall();
    if (isNumericKey(key)) throw treeError(tvwerr::InvalidKey);
    if (Exists(key)) throw treeError(tvwerr::KeyNotUnique);

    auto owned = std::make_unique<TreeNode>(tree_, key, text);
    TreeNode* node = owned.get();
    std::vector<TreeNode*>* list = &roots_;
    std::size_t at = roots_.size();
    if (rel) {
        if (how == tvw::Child) {
            node->parent_ = rel;
            list = &rel->children_;
            at = list->size();
        } else {
            node->parent_ = rel->parent_;
            list = &rel->siblings();
            const auto relAt = static_cast<std::size_t>(std::find(list->begin(), list->end(), rel) - list->begin());
            switch (how) {
                case tvw::First:
                    at = 0;
                    break;
                case tvw::Last:
                    at = list->size();
                    break;
                case tvw::Previous:
                    at = relAt;
                    break;
                default:
                    at = relAt + 1;
                    break;
            }
        }
    }
    list->insert(list->begin() + static_cast<std::ptrdiff_t>(at), node);
    if (!key.empty()) byKey_.emplace(key, node);
    nodes_.push_back(std::move(owned));
    tree_.nodeChanged();
    return *node;
}

void TreeNodes::Remove(const automation::Variant& keyOrIndex) {
    TreeNode& target = Item(keyOrIndex);
    auto& list = target.siblings();
    list.erase(std::find(list.begin(), list.end(), &target));
    // Collect the whole subtree first; the owning vector is pruned afterwards.
    std::vector<const TreeNode*> doomed;
    std::function<void(const TreeNode&)> collect = [&](const TreeNode& node) {
        doomed.push_back(&node);
        for (const TreeNode* child : node.children_) collect(*child);
    };
    collect(target);
    for (const TreeNode* node : doomed) {
        tree_.forget(node);
        if (!node->Key().empty()) byKey_.erase(node->Key());
    }
    std::erase_if(
        nodes_, [&](const auto& node) { return std::find(doomed.begin(), doomed.end(), node.get()) != doomed.end(); });
    tree_.nodeChanged();
}

void TreeNodes::Clear() {
    roots_.clear();
    byKey_.clear();
    tree_.forget(nullptr);
    nodes_.clear();
    tree_.nodeChanged();
}

}  // namespace tessaline::shell
