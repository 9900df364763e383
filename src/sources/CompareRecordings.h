#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/Office.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::sources {

// One recorded row of a host's tree, as the toolbar source holds it: a bar (depth 0, its name as caption)
// or a control at depth 1 to 3 with its index path below the bar.
struct RecordedItem {
    int depth = 0;
    std::string caption;
    std::vector<int> path;
    int id = 0;
};
struct RecordedBar {
    std::string name;
    std::vector<RecordedItem> items;  // the controls, depth first
};
using Recording = std::vector<RecordedBar>;

// Reads a sheet in the source layout; blank rows are passed over, so a menu-bar source reads too.
Recording ReadRecording(automation::Worksheet& sheet);
// The host as it is now, walked by the rules the toolbar source is written with (no "Built-in Menus",
// skipped controls left out, three levels deep), without writing anything.
Recording RecordHost(automation::CommandBars& bars);

// What changed from one recording to the other. Bars are matched by name (and order among bars of one
// name); inside a bar, the items of each popup are matched by ID and caption in order, so an item added
// before others does not make the others look changed. An item that left one place and turned up at
// another of the same bar is moved; one that stayed in its popup with its ID but not its caption is
// changed.
struct RecordingDifference {
    enum class Kind { BarAdded, BarRemoved, Added, Removed, Moved, Changed };
    Kind kind = Kind::Added;
    std::string bar;
    std::vector<int> oldPath;
    std::vector<int> newPath;
    int id = 0;
    std::string oldCaption;
    std::string caption;
};
std::vector<RecordingDifference> CompareRecordings(const Recording& before, const Recording& after);
// One line of the list: "+ Standard 3 存盘 (ID 3)", "~ Standard 3 保存(&S) -> 存盘 (ID 3)", ...
std::string DifferenceLine(const RecordingDifference& difference);
// The mark a difference gets in the list, the tree and the sheet: "+", "-", ">", "~".
std::string DifferenceMark(RecordingDifference::Kind kind);

// The comparison commands of the tools menu.
class RecordingComparison {
public:
    explicit RecordingComparison(shell::Form1& form) : form_(form) {}

    // "比较记录与当前": the host's sheet of the toolbar source against the host as it is now.
    void compareWithHost();
    // "与其他工作簿比较...": the host's sheet of the toolbar source against the same sheet of a workbook
    // named in an input box ("Book.xls" or "Book.xls!Sheet"), opened from the program's folder unless open.
    void compareWithWorkbook();
    // "比较结果写入工作表": the last comparison into the sheet "比较" of the toolbar source (added when
    // missing, emptied when present).
    void writeToSheet();

private:
    Recording recordedSheet();
    void show(const Recording& before, const Recording& after, const std::string& what);

    shell::Form1& form_;
    std::vector<RecordingDifference> last_;
    std::string what_;
};

void attachRecordingComparison(shell::Form1& form);

}  // namespace tessaline::sources
