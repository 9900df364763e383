#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Office.h"

namespace tessaline::automation {

namespace vbext {
constexpr int ComponentStdModule = 1;
constexpr int ComponentClassModule = 2;
constexpr int ComponentMSForm = 3;
constexpr int ComponentDocument = 100;
constexpr int ProtectionNone = 0;
constexpr int ProtectionLocked = 1;
constexpr int WindowNormal = 0;
constexpr int WindowMinimized = 1;
constexpr int WindowMaximized = 2;
}  // namespace vbext

class CodeModule : public Object {
public:
    std::string TypeName() const override { return "CodeModule"; }
    virtual int CountOfLines() = 0;
    // Lines(start, count): the lines joined by CR LF, no CR LF after the last.
    virtual std::string Lines(int startLine, int count) = 0;
    virtual void AddFromString(const std::string& text) = 0;
};

class VBComponent : public Object {
public:
    std::string TypeName() const override { return "VBComponent"; }
    virtual int Type() = 0;
    virtual std::string Name() = 0;
    virtual std::shared_ptr<automation::CodeModule> CodeModule() = 0;
};

class VBComponents : public Object {
public:
    std::string TypeName() const override { return "VBComponents"; }
    virtual int Count() = 0;
    virtual std::shared_ptr<VBComponent> Item(const Variant& indexOrName) = 0;
    virtual std::vector<std::shared_ptr<VBComponent>> Enumerate() = 0;
};

class VBProject : public Object {
public:
    std::string TypeName() const override { return "VBProject"; }
    virtual std::string Name() = 0;
    virtual int Protection() = 0;
    // "" for a project never saved.
    virtual std::string FileName() = 0;
    // Raises an automation error for a locked project.
    virtual std::shared_ptr<automation::VBComponents> VBComponents() = 0;
};

class VBProjects : public Object {
public:
    std::string TypeName() const override { return "VBProjects"; }
    virtual int Count() = 0;
    virtual std::shared_ptr<VBProject> Item(const Variant& indexOrName) = 0;
    virtual std::vector<std::shared_ptr<VBProject>> Enumerate() = 0;
};

class VbeWindow : public Object {
public:
    std::string TypeName() const override { return "Window"; }
    virtual int WindowState() = 0;
    virtual void SetWindowState(int state) = 0;
    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
};

// Excel's VBA editor: its own command bars and the open projects.
class Vbe : public CommandBarHost {
public:
    std::string TypeName() const override { return "VBE"; }
    virtual std::shared_ptr<VbeWindow> MainWindow() = 0;
    virtual std::shared_ptr<automation::VBProjects> VBProjects() = 0;
};

}  // namespace tessaline::automation
