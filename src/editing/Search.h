#pragma once

#include <string>

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// The workbook the search reads: the host's recorded command-bar tree, one sheet per host.
inline constexpr const char* SearchedWorkbookName = "TreeviewofCommandbars.xls";

// "搜索工具栏": lists in the bar grid the bars of the attached host that hold a control whose caption
// matches the key in IDString. The host's sheet of the toolbar source is read, not the live bars, so the
// result is as fresh as the last recording. Key forms, tried in this order:
//     "caption,3"        a caption and the control's Index (one digit after the last comma)
//     "caption,other"    bars holding a match for each of the two captions (the first alone when the
//                        second finds nothing)
//     "caption"          bars holding a match for the caption
// Captions are matched with Like as "*" & part & "*", so wildcards typed in the key work as wildcards.
// An empty key or one that starts with a digit only clears the grid. Resume mode: the search shows no
// message; whatever cannot be read simply finds nothing.
void SearchCommandbar_Click(shell::Form1& form);

// The sheet of the toolbar source that records the attached host: "VBE" while the editor is the host,
// otherwise the second word of the host's Name ("Microsoft Word" gives "Word"), or its only word (Outlook).
// Raises when no host is attached.
std::string SearchedSheetName(shell::Form1& form);

}  // namespace tessaline::editing
