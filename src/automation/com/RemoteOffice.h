#pragma once

// clang-format off
// First: windows.h's GetObject and FindWindow macros must be gone before the Desktop is declared.
#include "automation/com/Win32.h"
// clang-format on

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "automation/OfficeMachine.h"
#include "automation/com/ComDesktop.h"
#include "automation/com/Win32.h"

namespace tessaline::automation::com {

// The Office served by tessaline-office.exe in a process of its own, driven over COM: the desktop through
// the running object table and user32, the test hooks through the server's control object
// ("Tessaline.Office"). The server quits with this object; one that does not is killed.
class RemoteOffice final : public OfficeMachine {
public:
    struct Options {
        std::string contentFolder;  // empty: the server's default content
        std::string serverPath;     // empty: tessaline-office.exe beside this program
        DWORD startLimitMs = 30000;
        DWORD callLimitMs = 20000;
        KeyDelivery keys = KeyDelivery::Message;
    };

    // Starts the server and waits until its control object is registered. Raises std::runtime_error with
    // what the server said when it stops before that (a faulty content folder), or when it does not
    // register in time.
    explicit RemoteOffice(Options options);
    ~RemoteOffice() override;
    RemoteOffice(const RemoteOffice&) = delete;
    RemoteOffice& operator=(const RemoteOffice&) = delete;

    // tessaline-office.exe beside the running program.
    static std::string defaultServerPath();

    // Desktop
    ObjectPtr GetObject(const std::string& progId) override;
    ObjectPtr CreateObject(const std::string& progId) override;
    WindowHandle FindWindow(const std::string& className) override;
    bool ShowWindow(WindowHandle window, int command) override;
    bool SetForegroundWindow(WindowHandle window) override;

    // OfficeMachine
    bool isInstalled(const std::string& hostKey) override;
    bool isRunning(const std::string& hostKey) override;
    bool startHost(const std::string& hostKey) override;
    void stopHost(const std::string& hostKey) override;
    ObjectPtr host(const std::string& hostKey) override;
    void setOutlookExplorer(bool open) override;
    WindowHandle hostWindow(const std::string& hostKey) override;
    WindowHandle foregroundWindow() override;
    int windowShowState(WindowHandle window) override;
    bool windowVisible(WindowHandle window) override;
    std::string windowClass(WindowHandle window) override;
    std::vector<std::string> sentKeys() override;
    std::vector<std::string> actionLog() override;
    void clearActionLog() override;
    bool clickButton(const std::string& hostKey, const std::string& barName,
                     const std::vector<int>& indexPath) override;

    // How many of its objects the server has handed out and not got back (a leak check for tests).
    int liveObjects();
    DWORD processId() const { return processId_; }
    ComDesktop& desktop() { return *desktop_; }

private:
    void launch(const Options& options);
    // The control object of a live server, or an empty Dispatch.
    Dispatch liveControl();
    void waitUntilRegistered(DWORD limitMs);
    void shutDown();
    std::string serverOutput();
    std::vector<std::string> strings(const char* member);

    std::unique_ptr<ComDesktop> desktop_;
    Dispatch control_;
    std::vector<std::string> sentKeys_;
    HANDLE process_ = nullptr;
    HANDLE job_ = nullptr;  // ends the server when this process ends, however it ends
    DWORD processId_ = 0;
    HANDLE output_ = nullptr;  // the read end of the server's stdout and stderr
    std::thread reader_;
    std::mutex outputMutex_;
    std::string outputText_;
};

}  // namespace tessaline::automation::com
