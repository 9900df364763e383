#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/Control.h"

namespace tessaline::shell {

// A list box with VB's semantics: items are 0-based, ListIndex is -1 when nothing is selected.
class ListBox : public Control {
public:
    using Control::Control;

    // `index` omitted appends; an index beyond ListCount raises 5 "Invalid procedure call or argument".
    void AddItem(const std::string& item, std::optional<int> index = std::nullopt);
    // Raises 5 outside 0..ListCount-1.
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    // "" outside the list, as VB returns for a List() read past the end.
    std::string List(int index) const;
    void SetList(int index, const std::string& text);
    const std::vector<std::string>& items() const { return items_; }

    int ListIndex() const { return listIndex_; }
    // -1 clears the selection; anything else outside the list raises 380 "Invalid property value".
    void SetListIndex(int index);
    // The selected item's text, "" when none is selected.
    std::string Text() const;

    // The width in pixels the list can be scrolled to horizontally (LB_SETHORIZONTALEXTENT).
    int HorizontalExtent() const { return horizontalExtent_; }
    void SetHorizontalExtent(int pixels);

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    int horizontalExtent_ = 0;
};

}  // namespace tessaline::shell
