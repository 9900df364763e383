#include "automation/com/ComVbProjects.h"

namespace tessaline::automation::com {

namespace {

template <class T>
std::shared_ptr<T> wrap(ComPtr<IDispatch> object, const ContextPtr& context) {
    if (!object) return nullptr;
    return std::make_shared<T>(std::move(object), context);
}

}  // namespace

ComCodeModule::ComCodeModule(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "CodeModule", this) {}

int ComCodeModule::CountOfLines() { return d_.getInt("CountOfLines"); }

std::string ComCodeModule::Lines(int startLine, int count) {
    return d_.getString("Lines", Args().add(Variant(startLine)).add(Variant(count)));
}

void ComCodeModule::AddFromString(const std::string& text) { d_.call("AddFromString", Args().add(Variant(text))); }

ComVBComponent::ComVBComponent(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "VBComponent", this) {}

int ComVBComponent::Type() { return d_.getInt("Type"); }
std::string ComVBComponent::Name() { return d_.getString("Name"); }

std::shared_ptr<CodeModule> ComVBComponent::CodeModule() {
    return wrap<ComCodeModule>(d_.getObject("CodeModule"), d_.context());
}

ComVBComponents::ComVBComponents(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "VBComponents", this) {}

int ComVBComponents::Count() { return d_.getInt("Count"); }

std::shared_ptr<VBComponent> ComVBComponents::Item(const Variant& indexOrName) {
    return wrap<ComVBComponent>(d_.getObject("Item", Args().add(indexOrName)), d_.context());
}

std::vector<std::shared_ptr<VBComponent>> ComVBComponents::Enumerate() {
    std::vector<std::shared_ptr<VBComponent>> out;
    for (auto& item : d_.enumerateObjects()) out.push_back(wrap<ComVBComponent>(std::move(item), d_.context()));
    return out;
}

ComVBProject::ComVBProject(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "VBProject", this) {}

std::string ComVBProject::Name() { return d_.getString("Name"); }
int ComVBProject::Protection() { return d_.getInt("Protection"); }
std::string ComVBProject::FileName() { return d_.getString("FileName"); }

std::shared_ptr<VBComponents> ComVBProject::VBComponents() {
    return wrap<ComVBComponents>(d_.getObject("VBComponents"), d_.context());
}

ComVBProjects::ComVBProjects(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "VBProjects", this) {}

int ComVBProjects::Count() { return d_.getInt("Count"); }

std::shared_ptr<VBProject> ComVBProjects::Item(const Variant& indexOrName) {
    return wrap<ComVBProject>(d_.getObject("Item", Args().add(indexOrName)), d_.context());
}

std::vector<std::shared_ptr<VBProject>> ComVBProjects::Enumerate() {
    std::vector<std::shared_ptr<VBProject>> out;
    for (auto& item : d_.enumerateObjects()) out.push_back(wrap<ComVBProject>(std::move(item), d_.context()));
    return out;
}

}  // namespace tessaline::automation::com
