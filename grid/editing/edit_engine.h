// The edit engine: when a cell editor opens, over which cell, with what value; how every change
// reaches the cell and how the edit ends. Editors are offered the cell in a fixed order.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"

namespace ax {
class Child;
class FlexGrid;
struct Locale;
class TextBox;
class MaskEdBox;
class ComboBox;
class ImageCombo;
class CheckBox;
class DTPicker;
struct ComponentChild;
}  // namespace ax

namespace vantrel {

class Vantrel;
class CellEditor;
struct ColumnSettings;

// Where the edit cell lies, in the units of the control (see EditEngine::geometry).
struct CellGeometry {
    float top = 0;         // inner grid Top + CellTop
    float left = 0;        // inner grid Left + CellLeft
    float width = 0;       // CellWidth
    float height = 0;      // CellHeight
    float widthFloor = 0;  // the column's ColEditWidthMin
    float fontSize = 0;    // the cell's font size in points
};

// A value raised to a floor: the floor when it is larger, else the value.
inline float raisedTo(float value, float floor) { return floor > value ? floor : value; }

class EditEngine {
  public:
    explicit EditEngine(Vantrel& grid);  // after the grid's children exist: wires the editors' notifications
    ~EditEngine();
    EditEngine(const EditEngine&) = delete;
    EditEngine& operator=(const EditEngine&) = delete;

    void BeginCellEdit(int16_t& KeyAscii);
    void SetEditorsVisible(bool visible);
    bool NoEditorVisible() const;

    // Edit state: kept after an edit ends, until the next start attempt overwrites it.
    int32_t EditCol = 0;
    int32_t EditRow = 0;
    std::string EditStartText;
    std::string EditStartData;
    ax::OleColor EditBackColor = 0;
    ax::OleColor EditForeColor = 0;
    bool EditArmed = false;

    // --- what the editors use -----------------------------------------------------------------------
    Vantrel& grid() const { return grid_; }
    ax::FlexGrid& flex() const;
    ax::TextBox* txtBox() const;
    ax::MaskEdBox* maskEdit() const;
    ax::ComboBox* comboBx() const;
    ax::ComboBox* comboBxDropDown() const;
    ax::ImageCombo* imgCombo() const;
    ax::CheckBox* chckBox() const;
    ax::DTPicker* dtPick() const;
    const ax::ComponentChild& zelPick() const;
    ax::PicturePtr checkedPicture() const;  // the picture that marks a checked cell
    const ax::Locale& locale() const;

    // The settings of the column being edited, and its editor kind.
    ColumnSettings& editColumn() const;
    int32_t editKind() const;
    // The item count of the edit column's list.
    int32_t itemCount() const;

    // Whether the edit cell is still inside the grid (the host may shrink it under an open editor).
    bool editCellExists() const;
    // Writes the edit cell through the inner grid (no editor-kind rule).
    void writeCell(const std::string& text) const;
    // Whether the edit column keeps maintained strings, and writes the string of the edit row.
    bool maintainsData() const;
    void writeMaintained(const std::string& value) const;

    // The cell rectangle and floors for placing an editor.
    CellGeometry geometry() const;
    // The editor's font with the five attributes of the current cell copied in (a new object, so a
    // font shared with anything else is never changed behind its back).
    ax::FontPtr cellFont(const ax::FontPtr& current) const;
    int16_t mousePointer() const;  // the edit column's editor mouse pointer
    ax::PicturePtr mouseIcon() const;

    // Every hook ends this way: visible, in front, with the keyboard focus.
    static void showInFront(ax::Child& editor);
    // Hands the keyboard focus back to the inner grid.
    void focusGrid() const;

    // The control's events, with the editor's own parameter storage.
    void raiseClick() const;
    void raiseKeyDown(int16_t& keyCode, int16_t& shift) const;
    void raiseKeyPress(int16_t& keyAscii) const;
    void raiseKeyUp(int16_t& keyCode, int16_t& shift) const;

  private:
    Vantrel& grid_;
    std::vector<std::unique_ptr<CellEditor>> editors_;  // in offering order
};

}  // namespace vantrel
