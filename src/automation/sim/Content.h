#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "automation/sim/ContentError.h"

// The shipped state of a host, read from its content file (data/office/FORMAT.md). Bars and controls are
// kept as plain descriptions so that Reset and Controls.Add with a built-in Id can rebuild them at will.
namespace tessaline::automation::sim {

struct ControlSpec {
    int type = 1;
    int id = 1;
    std::string caption;
    int faceId = 0;
    int style = 0;
    std::string shortcutText;
    bool beginGroup = false;
    bool enabled = true;
    bool visible = true;
    bool isProtected = false;  // the host refuses to delete it
    std::string tooltipText;
    std::string onAction;
    std::string tag;
    std::optional<int> width;
    std::vector<std::string> items;
    std::string text;
    std::vector<ControlSpec> controls;
    // False for a control a user made (kept files): custom controls all have Id 1, so a copied built-in
    // control whose macro was set needs the flag to tell.
    bool builtIn = true;
};

struct BarSpec {
    std::string name;
    std::string nameLocal;
    int type = 0;
    int position = 1;
    bool visible = false;
    bool enabled = true;
    std::optional<int> width;
    std::vector<ControlSpec> controls;
    bool builtIn = true;  // false for a bar a user made (kept files)
};

struct HostContent {
    std::string file;  // where it came from, for messages
    std::string name;  // Application.Name
    std::string windowClass;
    bool running = true;
    bool explorer = true;  // Outlook: an explorer window is open
    // Shared, never changed once read: every start of the host builds its bars from these and keeps them for
    // Reset and built-in Ids, so a large host's descriptions exist once however often it starts.
    std::shared_ptr<const std::vector<BarSpec>> bars = std::make_shared<const std::vector<BarSpec>>();
    nlohmann::json workbooks;   // excel.json only, handed to the workbook model as is
    nlohmann::json vbProjects;  // vbe.json only
};

// Reads and checks one host file. Raises ContentError naming `path` and the place of the first fault.
HostContent readHostFile(const std::string& path);

// Parses JSON text, refusing nesting deeper than `maxDepth`; errors give the line and column.
nlohmann::json parseJsonText(const std::string& text, const std::string& fileForMessages, int maxDepth = 64);

// Checks a host document already parsed.
HostContent hostFromJson(const nlohmann::json& document, const std::string& fileForMessages);

// Whether a control type owns a bar of sub items (popups 10 to 14).
constexpr bool isPopupType(int type) { return type >= 10 && type <= 14; }
// Whether a control type holds a list or text (edit box, drop-down, combo box).
constexpr bool isComboType(int type) { return type >= 2 && type <= 4; }
// Whether a control can be taken as a CommandBarButton.
constexpr bool isButtonType(int type) { return type == 1 || isPopupType(type); }
// The button styles Office accepts.
constexpr bool isValidStyle(int style) {
    return style == 0 || style == 1 || style == 2 || style == 3 || style == 7 || style == 11 || style == 14 ||
           style == 15;
}
constexpr int MaxFaceId = 32767;

// Limits of a content file, so that a faulty or hostile file is refused with a message instead of taking the
// machine's memory or time: each of them is far above what an Office install ships (a hundred times the
// shipped Excel fits).
constexpr std::size_t MaxContentText = 1024;               // characters of one caption, name, tip, tag, ...
constexpr std::size_t MaxControlsPerBar = 4000;            // controls on one bar or in one popup
constexpr std::size_t MaxControlsPerFile = 400000;         // controls of a whole host, sub items included
constexpr std::size_t MaxBarsPerFile = 20000;              // bars of one host
constexpr std::uintmax_t MaxContentFileBytes = 64u << 20;  // size of one content file

}  // namespace tessaline::automation::sim
