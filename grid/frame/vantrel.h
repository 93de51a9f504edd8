// The grid control: an inner grid surface with pop-up cell editors, per-column rules for the text that
// enters a cell, maintained strings, transactions and data exchange. One class; its members are
// implemented in the files of grid/frame, grid/data, grid/editing and grid/exchange.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel_events.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/cell_access.h"
#include "platform/host/control.h"
#include "platform/runtime/dispatch.h"

namespace ax {
class FlexGrid;
struct GridShape;
class TextBox;
class MaskEdBox;
class ComboBox;
class ImageCombo;
class CheckBox;
class DTPicker;
class Image;
namespace xml {
class Document;
class Element;
class Node;
}  // namespace xml
}  // namespace ax

namespace vantrel {

class EditEngine;

inline constexpr int32_t kAddItemIndexNotGiven = -12321;

class Vantrel : public ax::Control, public ax::CellAccess {
  public:
    Vantrel();
    ~Vantrel() override;

    // --- the cells as assistive technology sees them (frame/cell_access.cpp)
    Kind cellKind(int32_t row, int32_t col) const override;
    std::string cellValue(int32_t row, int32_t col) const override;
    bool writeCell(int32_t row, int32_t col, const std::string& text) override;

    // --- lifecycle (frame) ------------------------------------------------------------------------
    void SetSite(std::shared_ptr<ax::Site> site) override;  // creates the children
    void InitProperties() override;
    void Show() override;
    void Hide() override;
    void Resize() override;

    // The typed event sink of a C++ host (late-bound hosts use events().Advise).
    void setEventSink(VantrelEvents* sink) { sink_ = sink; }

    // --- rows, columns and cell text ---------------------------------------------------------------
    int32_t Rows() const;
    void setRows(int32_t value);
    int32_t Cols() const;
    void setCols(int32_t value);
    int32_t FixedRows() const;
    void setFixedRows(int32_t value);
    int32_t FixedCols() const;
    void setFixedCols(int32_t value);
    int32_t Row() const;
    void setRow(int32_t value);
    int32_t Col() const;
    void setCol(int32_t value);
    int32_t RowSel() const;
    void setRowSel(int32_t value);
    int32_t ColSel() const;
    void setColSel(int32_t value);
    int32_t TopRow() const;
    void setTopRow(int32_t value);
    int32_t LeftCol() const;
    void setLeftCol(int32_t value);
    std::string Text() const;
    void setText(const std::string& value);
    std::string TextMatrix(int32_t row, int32_t col) const;
    void setTextMatrix(int32_t row, int32_t col, const std::string& value);
    std::string TextArray(int32_t index) const;
    void setTextArray(int32_t index, const std::string& value);
    void AddItem(const std::string& item, int32_t index = kAddItemIndexNotGiven);
    void RemoveItem(int32_t index);
    void Clear();
    void setColPosition(int32_t index, int32_t value);
    void setRowPosition(int32_t index, int32_t value);
    void setSort(int32_t value);
    bool sortRefused() const;  // while maintained strings are kept, a sort is ignored

    // The one road by which host text writes enter a cell; answers whether the cell changed.
    bool SetCellText(int32_t row, int32_t col, const std::string& text);

    // --- maintained strings ------------------------------------------------------------------------
    bool MaintainData() const;
    void setMaintainData(bool value);
    bool ColMaintainData() const;
    void setColMaintainData(bool value);
    std::string CellData() const;
    void setCellData(const std::string& value);
    std::string DataMatrix(int32_t row, int32_t col) const;
    void setDataMatrix(int32_t row, int32_t col, const std::string& value);

    bool ApplyColumnMaintainData(int32_t col, bool on);
    void ClearMaintainedStrings();

    // --- column editor settings --------------------------------------------------------------------
    int32_t InputStyle() const;
    void setInputStyle(int32_t value);
    int32_t ColInputStyle() const;
    void setColInputStyle(int32_t value);
    bool Locked() const;
    void setLocked(bool value);
    bool ColLocked() const;
    void setColLocked(bool value);
    bool LockedCombo() const;
    void setLockedCombo(bool value);
    bool ColLockedCombo() const;
    void setColLockedCombo(bool value);
    ax::PicturePtr MouseIconEditMode() const;
    void setMouseIconEditMode(ax::PicturePtr value);
    ax::PicturePtr ColMouseIconEditMode() const;
    void setColMouseIconEditMode(ax::PicturePtr value);
    int32_t MousePointerEditMode() const;
    void setMousePointerEditMode(int32_t value);
    int32_t ColMousePointerEditMode() const;
    void setColMousePointerEditMode(int32_t value);
    int16_t EditWidthMin() const;
    void setEditWidthMin(int16_t value);
    int16_t ColEditWidthMin() const;
    void setColEditWidthMin(int16_t value);
    int16_t TextMaxLength() const;
    void setTextMaxLength(int16_t value);
    int16_t ColTextMaxLength() const;
    void setColTextMaxLength(int16_t value);
    std::string MaskEditMask() const;
    void setMaskEditMask(const std::string& value);
    std::string ColMaskEditMask() const;
    void setColMaskEditMask(const std::string& value);
    std::string MaskEditPromptChar() const;
    void setMaskEditPromptChar(const std::string& value);
    std::string ColMaskEditPromptChar() const;
    void setColMaskEditPromptChar(const std::string& value);
    bool DTPickCheckBox() const;
    void setDTPickCheckBox(bool value);
    bool ColDTPickCheckBox() const;
    void setColDTPickCheckBox(bool value);
    ax::OleColor DTPickCalendarBackColor() const;
    void setDTPickCalendarBackColor(ax::OleColor value);
    ax::OleColor ColDTPickCalendarBackColor() const;
    void setColDTPickCalendarBackColor(ax::OleColor value);
    ax::OleColor DTPickCalendarForeColor() const;
    void setDTPickCalendarForeColor(ax::OleColor value);
    ax::OleColor ColDTPickCalendarForeColor() const;
    void setColDTPickCalendarForeColor(ax::OleColor value);
    ax::OleColor DTPickCalendarTitleBackColor() const;
    void setDTPickCalendarTitleBackColor(ax::OleColor value);
    ax::OleColor ColDTPickCalendarTitleBackColor() const;
    void setColDTPickCalendarTitleBackColor(ax::OleColor value);
    ax::OleColor DTPickCalendarTitleForeColor() const;
    void setDTPickCalendarTitleForeColor(ax::OleColor value);
    ax::OleColor ColDTPickCalendarTitleForeColor() const;
    void setColDTPickCalendarTitleForeColor(ax::OleColor value);
    ax::OleColor DTPickCalendarTrailingForeColor() const;
    void setDTPickCalendarTrailingForeColor(ax::OleColor value);
    ax::OleColor ColDTPickCalendarTrailingForeColor() const;
    void setColDTPickCalendarTrailingForeColor(ax::OleColor value);
    int32_t DTPickFormat() const;
    void setDTPickFormat(int32_t value);
    int32_t ColDTPickFormat() const;
    void setColDTPickFormat(int32_t value);
    ax::Date DTPickMaxDate() const;
    void setDTPickMaxDate(ax::Date value);
    ax::Date ColDTPickMaxDate() const;
    void setColDTPickMaxDate(ax::Date value);
    ax::Date DTPickMinDate() const;
    void setDTPickMinDate(ax::Date value);
    ax::Date ColDTPickMinDate() const;
    void setColDTPickMinDate(ax::Date value);
    bool DTPickUpDown() const;
    void setDTPickUpDown(bool value);
    bool ColDTPickUpDown() const;
    void setColDTPickUpDown(bool value);
    int16_t ZelPickerMax() const;
    void setZelPickerMax(int16_t value);
    int16_t ColZelPickerMax() const;
    void setColZelPickerMax(int16_t value);
    int16_t ZelPickerMin() const;
    void setZelPickerMin(int16_t value);
    int16_t ColZelPickerMin() const;
    void setColZelPickerMin(int16_t value);
    int16_t ZelPickerInitValue() const;
    void setZelPickerInitValue(int16_t value);
    int16_t ColZelPickerInitValue() const;
    void setColZelPickerInitValue(int16_t value);
    int16_t ZelPickerSmallChange() const;
    void setZelPickerSmallChange(int16_t value);
    int16_t ColZelPickerSmallChange() const;
    void setColZelPickerSmallChange(int16_t value);
    int16_t ZelPickerLargeChange() const;
    void setZelPickerLargeChange(int16_t value);
    int16_t ColZelPickerLargeChange() const;
    void setColZelPickerLargeChange(int16_t value);
    int32_t ZelPickerStyle() const;
    void setZelPickerStyle(int32_t value);
    int16_t ColZelPickerStyle() const;
    void setColZelPickerStyle(int16_t value);
    void SetMouseIconEditMode(const ax::Variant& index, int32_t col = -1);
    bool MaskEditAllowPrompt() const;
    bool MaskEditPromptInclude() const;

    bool ApplyColumnInputStyle(int32_t col, int32_t kind);
    // `datesWrittenIn`: for a date column whose format just changed, the format its cells are still
    // written in (-1: the column's own), so that they are read the way they were written.
    void ConvertColumnCells(int32_t col, int32_t firstRow, int32_t lastRow, int32_t kind,
                            int32_t datesWrittenIn = -1);
    void ReDimArray();

    // --- combo item lists and the image list ------------------------------------------------------
    void ComboAddItem(int32_t& Index, std::string& ItemText, ax::Variant& ItemImage,
                      ax::Variant& ItemSelImage, std::string& ItemData, int16_t& ItemIndentation);
    void ComboRemoveItem(int32_t& Index);
    void ComboClear();
    std::string ComboItemText(int32_t index) const;
    void setComboItemText(int32_t index, const std::string& value);
    std::string ComboItemData(int32_t index) const;
    void setComboItemData(int32_t index, const std::string& value);
    ax::Variant ImageComboItemImage(int32_t index) const;
    void setImageComboItemImage(int32_t index, const ax::Variant& value);
    ax::Variant ImageComboItemSelImage(int32_t index) const;
    void setImageComboItemSelImage(int32_t index, const ax::Variant& value);
    int16_t ImageComboItemIndentation(int32_t index) const;
    void setImageComboItemIndentation(int32_t index, int16_t value);
    int32_t ComboListCount() const;
    std::shared_ptr<ax::Object> ImageList() const;
    void setImageList(std::shared_ptr<ax::Object> value);

    // --- edit engine ---------------------------------------------------------------------------------
    // Offered every character key and mouse press of the inner grid before the host hears of it.
    void BeginCellEdit(int16_t& KeyAscii);
    void SetEditorsVisible(bool visible);
    bool NoEditorVisible() const;

    // --- data exchange ---
    // Arrays pass as Variants holding an ax::SafeArray; the save methods redimension the caller's
    // array in place (or give an empty Variant a new array).
    bool LoadArray(const ax::Variant& StrArray);
    bool LoadHeadingFromArray(const ax::Variant& ColumnHeadings);
    bool SaveToArray(ax::Variant& StrArray);
    bool SaveHeadingToArray(ax::Variant& StrArray);
    // Any object answering Fields, Count, Name, Value, EOF, bof, MoveFirst and MoveNext by name.
    bool LoadRecordset(const ax::Variant& rec);
    std::string RootElementTagName() const;  // 387 at design time, as the next three
    std::string RootChildTagName() const;
    void setRootChildTagName(const std::string& value);
    std::string RowElementTagName() const;
    void setRowElementTagName(const std::string& value);
    std::string XMLFilePath() const;
    void setXMLFilePath(const std::string& value);
    std::string ColAttributeName() const;  // of the current column; 382 at design time
    void setColAttributeName(const std::string& value);
    std::string ColElementName() const;
    void setColElementName(const std::string& value);
    void LoadXMLDoc();
    bool LoadXMLRootChild(bool UseTagNamesForHeading = false);
    void LoadXMLRoot(bool UseTagNamesForHeading = false);
    bool CreateXMLDoc(const std::string& RootElementName, int32_t XMLEncoding);
    bool SaveXMLDoc();
    bool UpdateXMLRootChild();
    bool DeleteXMLRootChild();
    bool UpdateXMLRoot();
    // Forgets the bound document, the recordset and the names unless a load is reshaping the grid.
    void ResetXMLBinding();
    // The binding as it stands, for C++ hosts: the bound document and the last loaded recordset.
    const std::shared_ptr<ax::xml::Document>& XMLDocument() const { return xmlDocument_; }
    const std::shared_ptr<ax::Object>& BoundSource() const { return boundSource_; }
    bool SuppressBindingReset() const { return suppressBindingReset_; }

    // --- cell formatting ---
    // The inner grid's formats of its current cell, run time only; the four geometry gets also in the
    // designer.
    int16_t CellAlignment() const;
    void setCellAlignment(int32_t value);
    ax::OleColor CellBackColor() const;  // the grid's BackColor for a cell without its own
    void setCellBackColor(ax::OleColor value);
    bool CellFontBold() const;
    void setCellFontBold(bool value);
    bool CellFontItalic() const;
    void setCellFontItalic(bool value);
    std::string CellFontName() const;
    void setCellFontName(const std::string& value);
    float CellFontSize() const;
    void setCellFontSize(float value);
    bool CellFontStrikeThrough() const;
    void setCellFontStrikeThrough(bool value);
    bool CellFontUnderline() const;
    void setCellFontUnderline(bool value);
    float CellFontWidth() const;
    void setCellFontWidth(float value);
    ax::OleColor CellForeColor() const;  // the grid's ForeColor for a cell without its own
    void setCellForeColor(ax::OleColor value);
    int16_t CellPictureAlignment() const;
    void setCellPictureAlignment(int32_t value);
    int32_t CellTextStyle() const;
    void setCellTextStyle(int32_t value);
    int32_t CellHeight() const;
    int32_t CellLeft() const;
    int32_t CellTop() const;
    int32_t CellWidth() const;
    // Check-box cells keep their pictures for the check mark: hidden from the get, refused by the set.
    ax::PicturePtr CellPicture() const;
    void setCellPicture(ax::PicturePtr value);
    // Puts image Index (number or key) of the attached image list into any cell; never raises for a
    // bad cell or index, and leaves the current cell and painting as the host had them.
    void SetCellPicture(int32_t Row, int32_t Col, const ax::Variant& Index);

    // --- transactions ---
    bool IsInTransaction() const;  // 387 at design time
    void BeginTrans();
    void Commit();
    void RollBack();
    bool SaveVNContentToShadow();

    // --- hit test ---
    // The cell under a point in the inner grid's twips; -1 where no visible row or column is hit.
    void GetCellFromScreenCoord(int32_t& lCol, int32_t& lRow, float& x, float& y);

    // --- pass-through members ---
    // The inner grid's appearance and layout under the control's own names. A let writes the inner
    // grid, then tells the host; an error of the inner grid reaches the caller and nothing is told.
    bool AllowBigSelection() const;
    void setAllowBigSelection(bool value);
    int32_t AllowUserResizing() const;
    void setAllowUserResizing(int32_t value);
    int32_t Appearance() const;
    void setAppearance(int32_t value);
    ax::OleColor BackColor() const;
    void setBackColor(ax::OleColor value);
    ax::OleColor BackColorBkg() const;
    void setBackColorBkg(ax::OleColor value);
    ax::OleColor BackColorFixed() const;
    void setBackColorFixed(ax::OleColor value);
    ax::OleColor BackColorSel() const;
    void setBackColorSel(ax::OleColor value);
    int32_t BorderStyle() const;
    void setBorderStyle(int32_t value);
    int32_t ColAlignment(int32_t index) const;
    void setColAlignment(int32_t index, int32_t value);
    int32_t ColData(int32_t index) const;
    void setColData(int32_t index, int32_t value);  // ignored above the last column
    bool ColIsVisible(int32_t index) const;
    int32_t ColPos(int32_t index) const;
    int16_t ColWidth(int32_t index) const;  // 6 when the width does not fit 16 bits
    void setColWidth(int32_t index, int16_t value);
    bool Enabled() const;  // the control's own window, not the inner grid
    void setEnabled(bool value);
    int32_t FixedAlignment(int32_t index) const;
    void setFixedAlignment(int32_t index, int32_t value);
    int32_t FocusRect() const;
    void setFocusRect(int32_t value);
    ax::FontPtr Font() const;
    void setFont(ax::FontPtr value);
    float FontWidth() const;
    void setFontWidth(float value);
    ax::OleColor ForeColor() const;
    void setForeColor(ax::OleColor value);
    ax::OleColor ForeColorFixed() const;
    void setForeColorFixed(ax::OleColor value);
    ax::OleColor ForeColorSel() const;
    void setForeColorSel(ax::OleColor value);
    std::string FormatString() const;
    void setFormatString(const std::string& value);  // the settings follow the new column count
    ax::OleColor GridColor() const;
    void setGridColor(ax::OleColor value);
    ax::OleColor GridColorFixed() const;
    void setGridColorFixed(ax::OleColor value);
    int32_t GridLines() const;
    void setGridLines(int32_t value);
    int32_t GridLinesFixed() const;
    void setGridLinesFixed(int32_t value);
    int16_t GridLineWidth() const;
    void setGridLineWidth(int16_t value);
    int32_t hDC() const;   // of the control's own window
    int32_t hWnd() const;  // of the control's own window
    int32_t HighLight() const;
    void setHighLight(int32_t value);
    int16_t Index() const { return index_; }
    void setIndex(int16_t value);
    int32_t MouseCol() const;
    ax::PicturePtr MouseIcon() const;
    void setMouseIcon(ax::PicturePtr value);
    int32_t MousePointer() const;
    void setMousePointer(int32_t value);
    int32_t MouseRow() const;
    void OLEDrag();
    int32_t OLEDropMode() const;
    void setOLEDropMode(int32_t value);
    ax::PicturePtr Picture() const;
    int32_t PictureType() const;
    void setPictureType(int32_t value);
    bool Redraw() const;
    void setRedraw(bool value);
    void Refresh();
    bool RightToLeft() const;
    void setRightToLeft(bool value);  // also the text and list editors
    int32_t RowData(int32_t index) const;
    void setRowData(int32_t index, int32_t value);  // ignored below the last row
    int16_t RowHeight(int32_t index) const;         // 6 when the height does not fit 16 bits
    void setRowHeight(int32_t index, int16_t value);
    int32_t RowHeightMin() const;
    void setRowHeightMin(int32_t value);
    bool RowIsVisible(int32_t index) const;
    int32_t RowPos(int32_t index) const;
    int32_t ScrollBars() const;
    void setScrollBars(int32_t value);
    bool ScrollTrack() const;
    void setScrollTrack(bool value);
    int32_t SelectionMode() const;
    void setSelectionMode(int32_t value);
    // The inner grid's mouse icon from image Index of the attached image list; never raises.
    void SetMouseIcon(const ax::Variant& Index);
    void Size(float Width, float Height);
    int32_t TextStyle() const;
    void setTextStyle(int32_t value);
    int32_t TextStyleFixed() const;
    void setTextStyleFixed(int32_t value);
    std::string Version() const;  // 382 at design time
    bool WordWrap() const;
    void setWordWrap(bool value);

    // Design-time settings saved with the host's form and read back in a fixed order.
    void ReadProperties(ax::PropertyBag& bag) override;
    void WriteProperties(ax::PropertyBag& bag) override;
    // --- end of pass-through members ---

    // --- frame state -------------------------------------------------------------------------------
    const std::string& HelpFilePath() const { return helpFilePath_; }

    // The children, for tests and for the host's tour: the control owns them for its whole life.
    ax::FlexGrid& innerGrid() const { return *FlexGrid_; }
    // The number editor as the runtime made it (the control created by "ZelCtrl.Zel").
    const std::shared_ptr<ax::Object>& numberEditor() const { return ZelPick_.object; }

    AX_DECLARE_DISPATCH(Vantrel);

  private:
    // The member table is declared once, in parts kept next to the code of each subsystem.
    static void addFrameMembers(ax::DispatchTable<Vantrel>& t);
    static void addDataMembers(ax::DispatchTable<Vantrel>& t);
    static void addSettingsMembers(ax::DispatchTable<Vantrel>& t);
    static void addEditingMembers(ax::DispatchTable<Vantrel>& t);
    static void addFormatMembers(ax::DispatchTable<Vantrel>& t);
    static void addExchangeMembers(ax::DispatchTable<Vantrel>& t);
    static void addPassThroughMembers(ax::DispatchTable<Vantrel>& t);

    // Raises an event to the typed sink and to late-bound sinks, with by-reference parameters.
    template <class... A>
    void raiseEvent(int32_t dispid, void (VantrelEvents::*typed)(A&...), A&... args) {
        if (sink_) (sink_->*typed)(args...);
        events_.raise(dispid, kVantrelEvents[dispid - 1].name, args...);
    }
    void createChildren();
    void relayInnerGridNotifications();
    void requireUserMode() const;  // 382 at design time
    void notify(const char* property) { site().PropertyChanged(property); }
    ColumnSettings& currentColumn();
    const ColumnSettings& currentColumn() const;
    bool readsCheckBoxCell(int32_t row, int32_t col) const;

    // The record of one column; an index outside the settings array fails with error 9.
    ColumnSettings& settingsAt(int32_t col) {
        if (col < 0 || static_cast<size_t>(col) >= settings_.size()) ax::raise(ax::err::SubscriptOutOfRange);
        return settings_[static_cast<size_t>(col)];
    }
    const ColumnSettings& settingsAt(int32_t col) const {
        if (col < 0 || static_cast<size_t>(col) >= settings_.size()) ax::raise(ax::err::SubscriptOutOfRange);
        return settings_[static_cast<size_t>(col)];
    }
    // SetCellText for a cell inside the given shape, for callers that write whole tables.
    bool setCellTextWithin(const ax::GridShape& shape, int32_t row, int32_t col, const std::string& text);
    // Its body, inline where it is defined so that host writes of plain text cost no further calls.
    bool writeCellText(const ax::GridShape& shape, int32_t row, int32_t col, const std::string& text);
    // The rule of the kinds that check, convert or store the text elsewhere.
    bool setTextByKindRule(int32_t row, int32_t col, const std::string& text, const ColumnSettings& column);
    // The columns that both the inner grid and the settings array hold (grid-wide setters walk these).
    int32_t settingsColumns() const;
    // Copies the grid-wide values that belong to an editor kind into one column's record.
    void copyKindDefaults(ColumnSettings& column, int32_t kind) const;
    // Rewrites every non-fixed cell of a column by the rule of its current kind.
    void convertColumn(int32_t col);
    void convertColumnWhen(int32_t col, int32_t kind) {
        if (settingsAt(col).InputStyle == kind) convertColumn(col);
    }
    // Whether a kind keeps its cells in an empty state that new rows must start in.
    static bool kindInitialisesNewRows(int32_t kind);
    // The check-box reading of the current cell: "1" when it shows a picture.
    std::string checkTextOfCurrentCell() const;
    // Font as the Font property sets it: the control first, then the inner grid, then the notice.
    void applyFont(ax::FontPtr font);
    // Step bodies of InitProperties, kept apart so its error trap stays readable.
    void initDefaults();
    std::string locateHelpFile() const;

    VantrelEvents* sink_ = nullptr;

    // Children.
    std::shared_ptr<ax::FlexGrid> FlexGrid_;
    std::shared_ptr<ax::TextBox> TxtBox_;
    std::shared_ptr<ax::MaskEdBox> MaskEdit_;
    std::shared_ptr<ax::ComboBox> ComboBx_;
    std::shared_ptr<ax::ComboBox> ComboBxDropDown_;
    std::shared_ptr<ax::ImageCombo> ImgCombo_;
    std::shared_ptr<ax::CheckBox> ChckBox_;
    std::shared_ptr<ax::DTPicker> DTPick_;
    ax::ComponentChild ZelPick_;
    std::shared_ptr<ax::Image> ImgChecked_;
    std::vector<std::shared_ptr<ax::Image>> ImgShadow_;  // element 0 always exists, never used for a picture
    std::vector<ax::ChildPtr> children_;                 // every child, in creation order

    // Column editor settings.
    GridDefaults defaults_;
    std::vector<ColumnSettings> settings_ = std::vector<ColumnSettings>(1);

    // Maintained strings switch.
    bool maintainData_ = false;
    // Strings kept beside the inner grid's cells, counted against its cell budget: the columns that
    // maintain data (a string per row each) and the transaction shadow.
    int32_t maintainedColumns_ = 0;
    int64_t shadowCells_ = 0;
    void countCellsBeside(int32_t maintainedColumns, int64_t shadowCells);  // 380 when they would not fit

    // Edit state and the editors.
    std::unique_ptr<EditEngine> engine_;
    friend class EditEngine;

    // Transactions.
    bool inTransaction_ = false;
    std::vector<int32_t> shadowRowData_ = std::vector<int32_t>(1);
    // --- transactions ---
    bool saveShadowPictures();
    bool restoreShadowContent();
    bool restoreShadowPictures();
    void unloadShadowPictures();
    void setInTransaction(bool value);
    int32_t shadowPictureCount_ = 0;  // ImgShadow elements 1..count hold saved pictures
    bool shadowSaved_ = false;        // the content shadow describes the grid at its last whole save

    // XML binding.
    bool suppressBindingReset_ = false;
    // --- data exchange ---
    bool fillFromArray(const ax::SafeArray& array);
    bool fillFromRecordset(ax::Object& rec);  // false: an error ended the walk, or records were left out
    // The shared body of the two XML loaders: the rows are the children of the root or of its container.
    bool loadXMLRows(bool rootChildForm, bool useTagNamesForHeading);
    // `hints` holds, by position in the row, the column that name had in the row before.
    void loadRowAttributes(const ax::xml::Element& row, bool useTagNamesForHeading,
                           std::vector<int32_t>& hints);
    void loadRowElements(const ax::xml::Element& row, bool useTagNamesForHeading,
                         std::vector<int32_t>& hints);
    void appendGridRows(const std::shared_ptr<ax::xml::Node>& parent);
    void setLoaderCols(int32_t n);      // Cols for a loader: column 0 keeps its XML names
    void requireRunTimeForXml() const;  // 387 at design time
    std::shared_ptr<ax::xml::Document> xmlDocument_;
    std::shared_ptr<ax::Object> boundSource_;
    std::string rootElementTagName_, rootChildTagName_, rowElementTagName_, xmlFilePath_;
    int32_t elementColumnCount_ = 0;
    int32_t attributeColumnCount_ = 0;
    bool firstElementPending_ = true;
    bool firstAttributePending_ = true;

    // --- pass-through members (state) ---
    int16_t ownDropMode_ =
        0;  // the control's own OLE drop mode, saved and loaded; the let reaches the inner grid
    // Loading, one key at a time in the saved order.
    void readProperties(ax::PropertyBag& bag);
    // After a failed load: one settings record per column, a font and the help file, so the grid works.
    void keepUsableAfterFailedLoad();
    // --- end of pass-through members (state) ---

    // Frame.
    int16_t index_ = 1;
    std::string version_ = "2.0";
    std::string helpFilePath_;
    ax::FontPtr font_;          // the control's own font (the inner grid gets the same object)
    ax::PicturePtr checkMark_;  // the picture of ImgChecked, made once from built-in pixels
    ax::Variant aa_ = ax::Variant(int16_t(0));
};

}  // namespace vantrel
