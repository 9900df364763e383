#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Vbe.h"
#include "automation/com/Dispatch.h"

// The VBA projects of Excel's editor reached over IDispatch.
namespace tessaline::automation::com {

class ComCodeModule final : public CodeModule {
public:
    ComCodeModule(ComPtr<IDispatch> object, const ContextPtr& context);
    int CountOfLines() override;
    std::string Lines(int startLine, int count) override;
    void AddFromString(const std::string& text) override;

private:
    Dispatch d_;
};

class ComVBComponent final : public VBComponent {
public:
    ComVBComponent(ComPtr<IDispatch> object, const ContextPtr& context);
    int Type() override;
    std::string Name() override;
    std::shared_ptr<automation::CodeModule> CodeModule() override;

private:
    Dispatch d_;
};

class ComVBComponents final : public VBComponents {
public:
    ComVBComponents(ComPtr<IDispatch> object, const ContextPtr& context);
    int Count() override;
    std::shared_ptr<VBComponent> Item(const Variant& indexOrName) override;
    std::vector<std::shared_ptr<VBComponent>> Enumerate() override;

private:
    Dispatch d_;
};

class ComVBProject final : public VBProject {
public:
    ComVBProject(ComPtr<IDispatch> object, const ContextPtr& context);
    std::string Name() override;
    int Protection() override;
    std::string FileName() override;
    std::shared_ptr<automation::VBComponents> VBComponents() override;

private:
    Dispatch d_;
};

class ComVBProjects final : public VBProjects {
public:
    ComVBProjects(ComPtr<IDispatch> object, const ContextPtr& context);
    int Count() override;
    std::shared_ptr<VBProject> Item(const Variant& indexOrName) override;
    std::vector<std::shared_ptr<VBProject>> Enumerate() override;

private:
    Dispatch d_;
};

}  // namespace tessaline::automation::com
