// tessaline.exe: the window on Windows, attached to the Office that runs on this desktop, or with --office
// to the in-memory Office that tessaline-office.exe serves. See usage() for the options.
#include "automation/com/Win32.h"

#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "automation/com/ComDesktop.h"
#include "automation/com/RemoteOffice.h"
#include "program/Startup.h"
#include "shell/AppProperties.h"
#include "shell/Form1.h"
#include "winui/FlexGridWindow.h"
#include "winui/MainWindow.h"
#include "winui/WideText.h"
#include "winui/WinUi.h"
#include "winui/WindowPicture.h"

namespace {

using tessaline::winui::utf8;
using tessaline::winui::wide;

const char* const kUsage =
    "usage: tessaline [--office [--content FOLDER]] [--host NAME] [--bar NAME] [--screenshot FILE.png]\n"
    "With no options the window attaches to the Office programs running on this desktop.\n"
    "  --office           start tessaline-office.exe (beside this program), the in-memory Office served\n"
    "                     over COM, and attach to it instead; it ends with the window\n"
    "  --content FOLDER   the in-memory Office's content (default: the office folder beside the server)\n"
    "  --host NAME        choose a host at start, as a click on its option button does (Excel, Word, ...)\n"
    "  --bar NAME         then click that bar's name in the bar grid, which lists its controls\n"
    "  --screenshot FILE  save a PNG picture of the window after start-up and exit\n"
    "  --help             show this text\n";

struct Options {
    bool office = false;
    std::string content;
    std::string host;
    std::string bar;
    std::string screenshot;
};

// Says it on the error stream and, for a person who started the window, in a box.
void tell(const std::string& text, bool box, UINT icon = MB_ICONERROR) {
    std::fputs((text + "\n").c_str(), stderr);
    std::fflush(stderr);
    if (box) {
        MessageBoxW(nullptr, wide(text).c_str(), wide(std::string(tessaline::shell::kProductName)).c_str(),
                    MB_OK | icon);
    }
}

// Returns -1 to go on, otherwise the exit code.
int parse(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            tell(kUsage, true, MB_ICONINFORMATION);
            return 0;
        }
        if (arg == "--office") {
            options.office = true;
        } else if (arg == "--content" && hasValue) {
            options.content = args[++i];
        } else if (arg == "--host" && hasValue) {
            options.host = args[++i];
        } else if (arg == "--bar" && hasValue) {
            options.bar = args[++i];
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshot = args[++i];
        } else {
            tell("tessaline: unexpected argument " + arg + "\n" + kUsage, true);
            return 2;
        }
    }
    if (!options.content.empty() && !options.office) {
        tell("tessaline: --content needs --office", true);
        return 2;
    }
    return -1;
}

void pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// What a user's clicks would do: choose the host, then the bar.
void startWith(const Options& options, tessaline::winui::MainWindow& window) {
    tessaline::shell::Form1& form = window.form();
    if (!options.host.empty()) {
        HWND button = window.controlWindow(options.host);
        if (button == nullptr ||
            dynamic_cast<tessaline::shell::OptionButton*>(&form.control(options.host)) == nullptr) {
            throw std::invalid_argument("no host option named " + options.host);
        }
        SendMessageW(button, BM_CLICK, 0, 0);
    }
    if (!options.bar.empty()) {
        tessaline::shell::FlexGrid& grid = form.ListAllCommandbars;
        int row = -1;
        for (int r = grid.FixedRows(); r < grid.Rows() && row < 0; ++r) {
            if (grid.TextMatrix(r, 1) == options.bar) row = r;
        }
        if (row < 0) throw std::invalid_argument("the bar grid lists no bar named " + options.bar);
        tessaline::winui::FlexGridWindow* view = window.gridWindow("ListAllCommandbars");
        POINT at{};
        if (view != nullptr && view->cellCenter(row, 1, at)) {
            SendMessageW(view->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            SendMessageW(view->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        } else {
            form.userClickCell(grid, row, 1);
        }
    }
}

int run(const Options& options) {
    const bool interactive = options.screenshot.empty();
    std::unique_ptr<tessaline::automation::Desktop> desktop;
    try {
        if (options.office) {
            tessaline::automation::com::RemoteOffice::Options office;
            office.contentFolder = options.content;
            desktop = std::make_unique<tessaline::automation::com::RemoteOffice>(office);
        } else {
            desktop = std::make_unique<tessaline::automation::com::ComDesktop>();
        }
    } catch (const std::exception& e) {
        // Without its Office the program has nothing to work on; say why and stop.
        tell(std::string("tessaline: ") + e.what(), interactive);
        return 1;
    }

    tessaline::winui::WinUi ui{std::string(tessaline::shell::kProductName)};
    // Form_Load asks for the topmost window before the window exists; WinUi applies it once it does.
    const std::unique_ptr<tessaline::shell::Form1> form = tessaline::program::openMainWindow(*desktop, ui);
    tessaline::winui::MainWindow window(*form);
    if (window.hwnd() == nullptr) {
        tell("tessaline: cannot create the window (is there a display?)", interactive);
        return 1;
    }
    ui.setWindow(window.hwnd());
    window.show();

    try {
        startWith(options, window);
    } catch (const std::exception& e) {
        tell(std::string("tessaline: ") + e.what(), interactive);
        if (!interactive) return 1;
    }

    if (!interactive) {
        // The controls draw what the start-up put in them before the picture is taken.
        pumpMessages(300);
        RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        pumpMessages(200);
        try {
            tessaline::winui::saveWindowPicture(window.hwnd(), options.screenshot);
        } catch (const std::exception& e) {
            tell(std::string("tessaline: ") + e.what(), false);
            return 1;
        }
        return 0;
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv != nullptr && i < argc; ++i) args.push_back(utf8(argv[i]));
    if (argv != nullptr) LocalFree(argv);

    Options options;
    if (const int code = parse(args, options); code >= 0) return code;
    try {
        return run(options);
    } catch (const std::exception& e) {
        tell(std::string("tessaline: ") + e.what(), options.screenshot.empty());
        return 1;
    }
}
