#pragma once

#include <string>
#include <utility>

#include "shell/Control.h"

namespace tessaline::shell {

class CommandButton : public Control {
public:
    CommandButton(std::string name, std::string caption, int left, int top, int width, int height)
        : Control(std::move(name), left, top, width, height), caption_(std::move(caption)) {}

    const std::string& Caption() const { return caption_; }

private:
    std::string caption_;
};

}  // namespace tessaline::shell
