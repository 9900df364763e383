#include "shell/ListBox.h"

#include "automation/AutomationError.h"

namespace tessaline::shell {

void ListBox::AddItem(const std::string& item, std::optional<int> index) {
    const int at = index.value_or(ListCount());
    if (at < 0 || at > ListCount()) throw automation::invalidCall();
    items_.insert(items_.begin() + at, item);
    // The selection follows its item.
    if (listIndex_ >= at) ++listIndex_;
    changed();
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) throw automation::invalidCall();
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    changed();
}

void ListBox::Clear() {
    items_.clear();
    listIndex_ = -1;
    changed();
}

std::string ListBox::List(int index) const {
    if (index < 0 || index >= ListCount()) return {};
    return items_[static_cast<std::size_t>(index)];
}

void ListBox::SetList(int index, const std::string& text) {
    if (index < 0 || index >= ListCount()) throw automation::invalidCall();
    items_[static_cast<std::size_t>(index)] = text;
    changed();
}

void ListBox::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw automation::AutomationError(380, "Invalid property value");
    listIndex_ = index;
    changed();
}

std::string ListBox::Text() const { return List(listIndex_); }

void ListBox::SetHorizontalExtent(int pixels) {
    horizontalExtent_ = pixels < 0 ? 0 : pixels;
    changed();
}

}  // namespace tessaline::shell
