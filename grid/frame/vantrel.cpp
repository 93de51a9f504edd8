// The control object: its children, the defaults of a new instance, Show, Hide and Resize.
#include "grid/frame/vantrel.h"

#include <filesystem>

#include "grid/editing/edit_engine.h"
#include "platform/automation/errors.h"
#include "platform/automation/vector_picture.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/dt_picker.h"
#include "platform/controls/image.h"
#include "platform/controls/image_combo.h"
#include "platform/controls/mask_ed_box.h"
#include "platform/controls/text_box.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/runtime/registry.h"

namespace vantrel {

namespace {

template <class T>
std::shared_ptr<T> childAs(const ax::ChildPtr& child) {
    auto typed = std::dynamic_pointer_cast<T>(child);
    if (!typed) ax::raise(ax::err::TypeMismatch);
    return typed;
}

// The tick shown in checked cells: 13 x 13 pixels, a dark check mark on a transparent ground, with its
// two strokes, so that a screen draws it crisply at any scale.
ax::PicturePtr makeCheckMark() {
    constexpr int kSize = 13;
    constexpr uint32_t kInk = 0xFF000000u;  // opaque black (alpha in the high byte)
    std::vector<uint32_t> pixels(kSize * kSize, 0u);
    auto dot = [&](int x, int y) {
        if (x >= 0 && x < kSize && y >= 0 && y < kSize) pixels[static_cast<size_t>(y * kSize + x)] = kInk;
    };
    // Short stroke down to the right, then the long stroke up to the right; three pixels thick.
    for (int i = 0; i <= 3; ++i)
        for (int t = 0; t < 3; ++t) dot(2 + i, 5 + i + t);
    for (int i = 0; i <= 5; ++i)
        for (int t = 0; t < 3; ++t) dot(6 + i, 7 - i + t);
    ax::VectorPicture::Stroke tick{{{2.5f, 6.5f}, {5.5f, 9.5f}, {11.5f, 3.5f}}, 2.4f, kInk};
    return std::make_shared<ax::VectorPicture>(kSize, kSize, std::move(pixels),
                                               std::vector<ax::VectorPicture::Stroke>{tick});
}

// Any function of this library: its address tells the runtime which file the library was loaded from.
void libraryAnchor() {}

}  // namespace

Vantrel::Vantrel() { events_.describe(kVantrelEvents); }

Vantrel::~Vantrel() {
    // The host may outlive the control: its children must stop calling back into it.
    if (FlexGrid_) {
        FlexGrid_->onClick = nullptr;
        FlexGrid_->onDblClick = nullptr;
        FlexGrid_->onKeyDown = nullptr;
        FlexGrid_->onKeyPress = nullptr;
        FlexGrid_->onKeyUp = nullptr;
        FlexGrid_->onMouseDown = nullptr;
        FlexGrid_->onMouseMove = nullptr;
        FlexGrid_->onMouseUp = nullptr;
        FlexGrid_->onSelChange = nullptr;
        FlexGrid_->onRowColChange = nullptr;
        FlexGrid_->onEnterCell = nullptr;
        FlexGrid_->onLeaveCell = nullptr;
        FlexGrid_->onScroll = nullptr;
        FlexGrid_->onCompare = nullptr;
        FlexGrid_->onOLEStartDrag = nullptr;
        FlexGrid_->onOLEGiveFeedback = nullptr;
        FlexGrid_->onOLESetData = nullptr;
        FlexGrid_->onOLECompleteDrag = nullptr;
        FlexGrid_->onOLEDragOver = nullptr;
        FlexGrid_->onOLEDragDrop = nullptr;
    }
}

void Vantrel::SetSite(std::shared_ptr<ax::Site> site) {
    ax::Control::SetSite(std::move(site));
    createChildren();
    relayInnerGridNotifications();
    engine_ = std::make_unique<EditEngine>(*this);
}

void Vantrel::createChildren() {
    ax::Site& s = site();
    auto make = [&](ax::ChildKind kind, const char* name) {
        ax::ChildPtr child = s.CreateChild(kind, name);
        children_.push_back(child);
        return child;
    };
    FlexGrid_ = childAs<ax::FlexGrid>(make(ax::ChildKind::FlexGrid, "FlexGrid"));
    TxtBox_ = childAs<ax::TextBox>(make(ax::ChildKind::TextBox, "TxtBox"));
    MaskEdit_ = childAs<ax::MaskEdBox>(make(ax::ChildKind::MaskEdBox, "MaskEdit"));
    ComboBx_ = childAs<ax::ComboBox>(make(ax::ChildKind::ComboDropDownCombo, "ComboBx"));
    ComboBxDropDown_ = childAs<ax::ComboBox>(make(ax::ChildKind::ComboDropDownList, "ComboBxDropDown"));
    ImgCombo_ = childAs<ax::ImageCombo>(make(ax::ChildKind::ImageCombo, "ImgCombo"));
    ChckBox_ = childAs<ax::CheckBox>(make(ax::ChildKind::CheckBox, "ChckBox"));
    DTPick_ = childAs<ax::DTPicker>(make(ax::ChildKind::DTPicker, "DTPick"));
    ZelPick_ = s.CreateComponentChild("ZelCtrl.Zel", "ZelPick");
    children_.push_back(ZelPick_.extender);
    ImgChecked_ = childAs<ax::Image>(make(ax::ChildKind::Image, "ImgChecked"));
    ImgShadow_.assign(1, childAs<ax::Image>(make(ax::ChildKind::Image, "ImgShadow")));

    // The inner grid is the control's face; every other child stays hidden until it serves a cell.
    FlexGrid_->setVisible(true);

    if (!checkMark_) checkMark_ = makeCheckMark();
    ImgChecked_->setPicture(checkMark_);
}

void Vantrel::applyFont(ax::FontPtr font) {
    font_ = font;
    FlexGrid_->setFont(font);
    notify("Font");
}

std::string Vantrel::locateHelpFile() const {
    const std::string library = ax::moduleFileOf(reinterpret_cast<const void*>(&libraryAnchor));
    return (std::filesystem::path(library).parent_path() / "Vantrel.chm").string();
}

void Vantrel::initDefaults() {
    ax::FontPtr ambient = site().AmbientFont();
    applyFont(ambient ? ambient->clone() : std::make_shared<ax::Font>());
    index_ = 1;
    version_ = "2.0";

    settings_.assign(1, ColumnSettings{});
    setRows(2);
    setCols(2);

    setInputStyle(TextBox);
    setTextMaxLength(64);
    setMaskEditMask(std::string());
    setMaskEditPromptChar("_");
    setLocked(false);
    setLockedCombo(false);

    defaults_.MouseIconEditMode = ax::loadPicture(std::string());
    setMousePointerEditMode(0);

    defaults_.DTPickCheckBox = true;
    defaults_.DTPickMaxDate = defaultMaxDate();
    defaults_.DTPickMinDate = defaultMinDate();
    defaults_.DTPickCalendarBackColor = ax::syscolor::WindowBackground;
    defaults_.DTPickCalendarForeColor = ax::syscolor::ButtonText;
    defaults_.DTPickCalendarTitleBackColor = ax::syscolor::ButtonFace;
    defaults_.DTPickCalendarTitleForeColor = ax::syscolor::ButtonText;
    defaults_.DTPickCalendarTrailingForeColor = ax::syscolor::GrayText;

    defaults_.ZelPickerMax = 32767;
    defaults_.ZelPickerMin = -32768;
    defaults_.ZelPickerInitValue = 0;
    defaults_.ZelPickerSmallChange = 1;
    defaults_.ZelPickerLargeChange = 1;
    defaults_.ZelPickerStyle = 0;

    defaults_.EditWidthMin = 2;
    maintainData_ = false;

    helpFilePath_ = locateHelpFile();
    site().SetHelpFile(helpFilePath_);
}

void Vantrel::InitProperties() {
    // One trap for every step: the first failure ends the defaults and shows "1".
    try {
        initDefaults();
    } catch (...) {
        site().MsgBox("1");
    }
}

void Vantrel::Show() {
    raiseEvent(10, &VantrelEvents::Show);
    SetEditorsVisible(false);
}

void Vantrel::Hide() { raiseEvent(11, &VantrelEvents::Hide); }

void Vantrel::Resize() {
    raiseEvent(9, &VantrelEvents::Resize);
    // One internal unit becomes one unit of the container; the vertical conversion reads the scale
    // mode again, which the width just made user-defined.
    ax::ControlSurface& s = site().Surface();
    const ax::ScaleMode container = site().ContainerScaleMode();
    s.setScaleWidth(s.ScaleX(s.ScaleWidth(), s.scaleMode(), container));
    s.setScaleHeight(s.ScaleY(s.ScaleHeight(), s.scaleMode(), container));
    FlexGrid_->setTop(s.ScaleTop());
    FlexGrid_->setLeft(s.ScaleLeft());
    FlexGrid_->setWidth(s.ScaleWidth());
    FlexGrid_->setHeight(s.ScaleHeight());
    FlexGrid_->ZOrder(0);
}

void Vantrel::BeginCellEdit(int16_t& KeyAscii) { engine_->BeginCellEdit(KeyAscii); }
void Vantrel::SetEditorsVisible(bool visible) { engine_->SetEditorsVisible(visible); }
bool Vantrel::NoEditorVisible() const { return engine_->NoEditorVisible(); }

}  // namespace vantrel
