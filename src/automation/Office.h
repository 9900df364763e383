#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Object.h"

namespace tessaline::automation {

// Published Office codes.
namespace mso {
// Control types (MsoControlType).
constexpr int ControlCustom = 0;
constexpr int ControlButton = 1;
constexpr int ControlEdit = 2;
constexpr int ControlDropdown = 3;
constexpr int ControlComboBox = 4;
constexpr int ControlPopup = 10;
constexpr int ControlGraphicPopup = 11;
constexpr int ControlButtonPopup = 12;
constexpr int ControlSplitButtonPopup = 13;
constexpr int ControlSplitButtonMRUPopup = 14;
// Bar types (MsoBarType).
constexpr int BarTypeNormal = 0;
constexpr int BarTypeMenuBar = 1;
constexpr int BarTypePopup = 2;
// Bar positions (MsoBarPosition).
constexpr int BarLeft = 0;
constexpr int BarTop = 1;
constexpr int BarRight = 2;
constexpr int BarBottom = 3;
constexpr int BarFloating = 4;
constexpr int BarPopup = 5;
// Button styles (MsoButtonStyle).
constexpr int ButtonAutomatic = 0;
constexpr int ButtonIcon = 1;
constexpr int ButtonCaption = 2;
constexpr int ButtonIconAndCaption = 3;
}  // namespace mso

class CommandBars;
class CommandBar;
class CommandBarControl;
class CommandBarControls;
class CommandBarButton;
class CommandBarPopup;
class CommandBarComboBox;

using CommandBarPtr = std::shared_ptr<CommandBar>;
using ControlPtr = std::shared_ptr<CommandBarControl>;
using ControlsPtr = std::shared_ptr<CommandBarControls>;
using ButtonPtr = std::shared_ptr<CommandBarButton>;
using PopupPtr = std::shared_ptr<CommandBarPopup>;
using ComboBoxPtr = std::shared_ptr<CommandBarComboBox>;
using CommandBarsPtr = std::shared_ptr<CommandBars>;

// Members that take a Variant coerce it as automation does (numeric text for numbers, "True"/"False"
// for Booleans) and raise "Type mismatch" when they cannot. A refused call raises an AutomationError.
// Indexes are 1-based everywhere.

class CommandBars : public Object {
public:
    std::string TypeName() const override { return "CommandBars"; }

    virtual int Count() = 0;
    // By 1-based index or by name (names ignore case; with several bars of one name the first wins).
    // Raises "Invalid procedure call or argument" when there is no such bar.
    virtual CommandBarPtr Item(const Variant& indexOrName) = 0;
    // For Each: the bars as they were when the enumeration began, in index order.
    virtual std::vector<CommandBarPtr> Enumerate() = 0;
    // Add(Name, Position, MenuBar, Temporary); every argument optional.
    virtual CommandBarPtr Add(const Optional& name = std::nullopt, const Optional& position = std::nullopt,
                              const Optional& menuBar = std::nullopt, const Optional& temporary = std::nullopt) = 0;
    // FindControl(Type, Id, Tag, Visible): the first match in collection order, or nullptr (Nothing).
    virtual ControlPtr FindControl(const Optional& type = std::nullopt, const Optional& id = std::nullopt,
                                   const Optional& tag = std::nullopt, const Optional& visible = std::nullopt) = 0;
};

class CommandBar : public Object {
public:
    std::string TypeName() const override { return "CommandBar"; }

    virtual int Index() = 0;
    virtual std::string Name() = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual std::string NameLocal() = 0;
    virtual void SetNameLocal(const std::string& name) = 0;
    virtual bool BuiltIn() = 0;
    virtual int Type() = 0;
    virtual bool Enabled() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual int Position() = 0;
    virtual void SetPosition(const Variant& position) = 0;
    virtual int Width() = 0;
    virtual void SetWidth(const Variant& width) = 0;
    virtual int Height() = 0;
    virtual ControlsPtr Controls() = 0;
    // The host application (the VBA editor for its bars, the explorer for Outlook's) for a top-level bar;
    // the popup control for the bar of a popup.
    virtual ObjectPtr Parent() = 0;
    virtual void Delete() = 0;
    virtual void Reset() = 0;
    virtual ControlPtr FindControl(const Optional& type = std::nullopt, const Optional& id = std::nullopt,
                                   const Optional& tag = std::nullopt, const Optional& visible = std::nullopt,
                                   const Optional& recursive = std::nullopt) = 0;
};

class CommandBarControls : public Object {
public:
    std::string TypeName() const override { return "CommandBarControls"; }

    virtual int Count() = 0;
    // By 1-based index or by caption.
    virtual ControlPtr Item(const Variant& indexOrCaption) = 0;
    virtual std::vector<ControlPtr> Enumerate() = 0;
    // Add(Type, Id, Parameter, Before, Temporary); Before omitted means at the end.
    virtual ControlPtr Add(const Optional& type = std::nullopt, const Optional& id = std::nullopt,
                           const Optional& parameter = std::nullopt, const Optional& before = std::nullopt,
                           const Optional& temporary = std::nullopt) = 0;
};

class CommandBarControl : public Object {
public:
    std::string TypeName() const override { return "CommandBarControl"; }

    virtual int Index() = 0;
    virtual int Id() = 0;
    virtual std::string Caption() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual bool BuiltIn() = 0;
    virtual bool BeginGroup() = 0;
    virtual void SetBeginGroup(bool beginGroup) = 0;
    virtual int Type() = 0;
    virtual bool Enabled() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual std::string OnAction() = 0;
    virtual void SetOnAction(const std::string& macro) = 0;
    virtual std::string TooltipText() = 0;
    virtual void SetTooltipText(const std::string& text) = 0;
    virtual std::string Tag() = 0;
    virtual void SetTag(const std::string& tag) = 0;
    virtual int Width() = 0;
    virtual void SetWidth(const Variant& width) = 0;
    virtual CommandBarPtr Parent() = 0;

    // Copy(Bar, Before) returns the copy; Move(Bar, Before). Bar omitted means the same bar; Before
    // omitted means at the end.
    virtual ControlPtr Copy(const CommandBarPtr& bar = nullptr, const Optional& before = std::nullopt) = 0;
    virtual void Move(const CommandBarPtr& bar = nullptr, const Optional& before = std::nullopt) = 0;
    virtual void Delete(const Optional& temporary = std::nullopt) = 0;
    // Runs the control as a click of the user would: the click sinks first, then, unless a sink cancelled,
    // the default action (the OnAction macro or the built-in command).
    virtual void Execute() = 0;

    // Late-bound access by member name ("FaceId", "Style", "ShortcutText", "Caption", ...). A member the
    // control does not have raises "Object doesn't support this property or method".
    virtual Variant GetProperty(std::string_view member) = 0;
    virtual void SetProperty(std::string_view member, const Variant& value) = 0;

    // Typed views of the same control. Raise "Type mismatch" where the control is not of that kind:
    // buttons and popups (types 1, 10 to 14) are buttons, types 10 to 14 are popups, types 2 to 4 combo
    // boxes.
    virtual ButtonPtr AsButton() = 0;
    virtual PopupPtr AsPopup() = 0;
    virtual ComboBoxPtr AsComboBox() = 0;
};

class CommandBarButton : public virtual CommandBarControl {
public:
    std::string TypeName() const override { return "CommandBarButton"; }

    virtual int FaceId() = 0;
    virtual void SetFaceId(const Variant& faceId) = 0;
    virtual int Style() = 0;
    virtual void SetStyle(const Variant& style) = 0;
    virtual std::string ShortcutText() = 0;
    virtual void SetShortcutText(const std::string& text) = 0;

    // The Click event. A sink hears the clicks of every button with the same Id and Tag as this one, in
    // connection order; all sinks of one click share the CancelDefault flag.
    using ClickSink = std::function<void(const ButtonPtr& ctrl, bool& cancelDefault)>;
    virtual int ConnectClick(ClickSink sink) = 0;  // returns a cookie for DisconnectClick
    virtual void DisconnectClick(int cookie) = 0;
};

class CommandBarPopup : public virtual CommandBarControl {
public:
    std::string TypeName() const override { return "CommandBarPopup"; }

    virtual ControlsPtr Controls() = 0;
    virtual CommandBarPtr CommandBar() = 0;  // the popup's own bar
};

class CommandBarComboBox : public virtual CommandBarControl {
public:
    std::string TypeName() const override { return "CommandBarComboBox"; }

    virtual void AddItem(const std::string& text, const Optional& index = std::nullopt) = 0;
    virtual void RemoveItem(const Variant& index) = 0;
    virtual void Clear() = 0;
    virtual int ListCount() = 0;
    virtual std::string List(int index) = 0;
    virtual std::string Text() = 0;
    virtual void SetText(const std::string& text) = 0;
};

// Whatever owns a CommandBars collection: a host application, Outlook's explorer, the VBA editor.
class CommandBarHost : public Object {
public:
    virtual CommandBarsPtr CommandBars() = 0;
    virtual std::string Name() = 0;
};

}  // namespace tessaline::automation
