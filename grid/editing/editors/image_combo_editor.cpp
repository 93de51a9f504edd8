// The image combo of ImageCombo columns: the column's items with their pictures and indentation.
// Choosing an item writes its text into the cell and its picture into the cell's picture; typing a
// text that matches no item leaves the cell without a picture.
#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {
namespace {

// Whether an item names an image at all (an empty variant or text names none).
bool namesImage(const ax::Variant& image) {
    return !image.isEmpty() && !image.isNull() && !(image.isString() && image.get<std::string>()->empty());
}

// The "greater than 0" test of an item's image: numbers compare as numbers; a key (a text that is no
// number) compares as greater, as automation compares a text with a number.
bool positiveImage(const ax::Variant& image) {
    if (!namesImage(image)) return false;
    if (image.isString()) {
        if (auto n = ax::parseNumber(*image.get<std::string>())) return *n > 0;
        return true;
    }
    return image.toDouble() > 0;
}

class ImageComboEditor final : public CellEditor {
  public:
    ImageComboEditor(EditEngine& engine, ax::ImageCombo& combo) : engine_(engine), combo_(combo) {
        combo_.onChange = [this] {
            if (engine_.EditArmed) WriteBackEditor();
        };
        combo_.onClick = [this] {
            if (engine_.EditArmed) WriteBackEditor();
            engine_.raiseClick();
        };
        combo_.onKeyDown = [this](int16_t& keyCode, int16_t& shift) { engine_.raiseKeyDown(keyCode, shift); };
        combo_.onKeyUp = [this](int16_t& keyCode, int16_t& shift) { engine_.raiseKeyUp(keyCode, shift); };
        combo_.onKeyPress = [this](int16_t& key) { keyPress(key); };
        combo_.onLostFocus = [this] {
            combo_.setVisible(false);
            ax::FlexGrid& fg = engine_.flex();
            if (fg.Visible() && fg.Enabled()) engine_.focusGrid();
        };
    }
    ~ImageComboEditor() override {
        combo_.onChange = nullptr;
        combo_.onClick = nullptr;
        combo_.onKeyDown = nullptr;
        combo_.onKeyUp = nullptr;
        combo_.onKeyPress = nullptr;
        combo_.onLostFocus = nullptr;
    }

    bool TryShowEditor() override {
        if (engine_.editKind() != ImageCombo) return false;
        const ColumnSettings& cs = engine_.editColumn();
        const auto entries = combo_.ComboItems();
        const bool pictures = combo_.ImageList() != nullptr;

        entries->Clear();
        for (int32_t i = 1; i <= cs.itemCount(); ++i) {
            const auto& item = cs.ComboItems[i];
            const ax::Variant image = pictures && namesImage(item.Image) ? item.Image : ax::Variant();
            const ax::Variant selImage =
                pictures && namesImage(item.SelImage) ? item.SelImage : ax::Variant();
            // The host may store a negative indentation, which the combo cannot show: it shows none.
            const int16_t indentation = item.Indentation > 0 ? item.Indentation : int16_t(0);
            entries->Add(ax::Variant(), ax::Variant(), ax::Variant(item.Text), image, selImage,
                         ax::Variant(indentation));
        }
        startPicture_ = engine_.flex().CellPicture();
        const std::string& start = engine_.EditStartText;
        if (!start.empty()) {
            std::shared_ptr<ax::ComboItem> match;
            for (const auto& entry : entries->list().items()) {
                if (entry->Text() == start) {
                    match = entry;
                    break;
                }
            }
            // The cell's own text joins the editor's entries, not the column's list.
            if (!match) match = entries->Add(ax::Variant(), ax::Variant(), ax::Variant(start));
            combo_.setSelectedItem(match);
        }

        const CellGeometry g = engine_.geometry();
        combo_.setTop(g.top);
        combo_.setLeft(g.left);
        combo_.setWidth(raisedTo(g.width, g.widthFloor));
        combo_.setHeight(g.height);
        combo_.setFont(engine_.cellFont(combo_.Font()));
        combo_.setForeColor(engine_.EditForeColor);
        combo_.setBackColor(engine_.EditBackColor);
        combo_.setMousePointer(engine_.mousePointer());
        combo_.setMouseIcon(engine_.mouseIcon());
        combo_.setLocked(cs.LockedCombo);
        EditEngine::showInFront(combo_);
        return true;
    }

    // Text, picture and data string of the cell; a failure (an image the list does not hold) ends
    // the write-back where it happens, without raising.
    void WriteBackEditor() override {
        if (!combo_.Visible()) return;
        try {
            writeBack();
        } catch (const ax::AutomationError&) {
        }
    }

  private:
    void writeBack() {
        const ColumnSettings& cs = engine_.editColumn();
        ax::FlexGrid& fg = engine_.flex();
        std::string text = combo_.Text();
        if (cs.TextMaxLength >= 1) text = ax::leftChars(text, static_cast<size_t>(cs.TextMaxLength));
        if (fg.Row() != engine_.EditRow) fg.setRow(engine_.EditRow);
        if (fg.Col() != engine_.EditCol) fg.setCol(engine_.EditCol);
        fg.setText(text);

        const auto& entries = combo_.ComboItems()->list().items();
        int32_t k = 0;
        for (size_t i = 0; i < entries.size() && k == 0; ++i) {
            if (entries[i]->Selected()) k = static_cast<int32_t>(i) + 1;
        }
        fg.setCellPicture(ax::emptyPicture());
        for (size_t i = 0; i < entries.size() && k == 0; ++i) {
            if (entries[i]->Text() == text) k = static_cast<int32_t>(i) + 1;
        }
        if (k == 0) return;  // a text of no entry: no picture, the maintained string untouched

        engine_.writeCell(text);
        const ax::Variant image = entries[static_cast<size_t>(k - 1)]->Image();
        const auto list = combo_.ImageList();
        if (list && positiveImage(image)) fg.setCellPicture(list->ListImages()->Item(image)->Picture());
        if (engine_.maintainsData()) {
            engine_.writeMaintained(k <= cs.itemCount() ? cs.ComboItems[k].Data : engine_.EditStartData);
        }
    }

    // A cancelled edit also takes back the picture that a chosen item put into the cell.
    void restorePicture() {
        ax::FlexGrid& fg = engine_.flex();
        if (fg.Row() != engine_.EditRow) fg.setRow(engine_.EditRow);
        if (fg.Col() != engine_.EditCol) fg.setCol(engine_.EditCol);
        fg.setCellPicture(startPicture_ ? startPicture_ : ax::emptyPicture());
    }

    // The host hears the key first; the editor acts on what the host left.
    void keyPress(int16_t& key) {
        if (!combo_.Visible()) return;
        engine_.raiseKeyPress(key);
        if (key == 13) {
            WriteBackEditor();
            combo_.setVisible(false);
        } else if (key == 27) {
            engine_.writeCell(engine_.EditStartText);
            if (engine_.maintainsData()) engine_.writeMaintained(engine_.EditStartData);
            restorePicture();
            combo_.setVisible(false);
        } else if (key != 8) {
            const int16_t limit = engine_.editColumn().TextMaxLength;
            if (limit >= 1 && static_cast<int64_t>(ax::charCount(combo_.Text())) + 1 > limit) key = 0;
        }
    }

    EditEngine& engine_;
    ax::ImageCombo& combo_;
    ax::PicturePtr startPicture_;  // the cell's picture when the edit started
};

}  // namespace

std::unique_ptr<CellEditor> makeImageComboEditor(EditEngine& engine) {
    ax::ImageCombo* combo = engine.imgCombo();
    return combo ? std::make_unique<ImageComboEditor>(engine, *combo) : nullptr;
}

}  // namespace vantrel
