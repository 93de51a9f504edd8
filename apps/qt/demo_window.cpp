#include "apps/qt/demo_window.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cstdio>
#include <fstream>
#include <functional>

#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "platform/controls/text_box.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/qt/qt_children.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/xml/xml_property_bag.h"

namespace demo {

namespace {
using vantrel::InputStyleKind;

// The columns: heading, editor kind, width in twips.
struct Column {
    const char* heading;
    int32_t kind;
    int16_t width;
};
const Column kColumns[] = {
    {"Fruit", InputStyleKind::TextBox, 1500},    {"Colour", InputStyleKind::ComboBox, 1300},
    {"Ripe", InputStyleKind::CheckBox, 700},     {"Picked", InputStyleKind::DTPicker, 1500},
    {"Boxes", InputStyleKind::ZelPicker, 1000},  {"Code", InputStyleKind::MaskEDBox, 1200},
    {"Grade", InputStyleKind::ImageCombo, 1400}, {"Note", InputStyleKind::ComboDropDown, 1500},
};
constexpr int32_t kRows = 60;

// A small square picture of one colour, for the image list.
ax::PicturePtr swatch(uint32_t rgba) {
    return std::make_shared<ax::Picture>(12, 12, std::vector<uint32_t>(144, rgba));
}

void addItem(vantrel::Vantrel& g, const std::string& text, ax::Variant image = ax::Variant("")) {
    int32_t index = 0;
    std::string t = text, data;
    ax::Variant sel("");
    int16_t indent = 0;
    g.ComboAddItem(index, t, image, sel, data, indent);
}

// Members reached by name, as a late-bound host does, so the demo runs with whatever the grid offers.
void setColWidth(vantrel::Vantrel& g, int32_t col, int16_t twips) {
    try {
        ax::letProperty(g, "ColWidth", ax::Variant(twips), {ax::Variant(col)});
    } catch (const ax::AutomationError& e) {
        std::printf("column %d keeps its default width: %d %s\n", int(col), e.number(),
                    e.description().c_str());
    }
}
void call(vantrel::Vantrel& g, const char* method, std::vector<ax::Variant> args = {}) {
    ax::callMethod(g, method, std::move(args));
}

const char* kSampleXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Orchard>
  <Tree><Name>Quince</Name><Colour>Yellow</Colour></Tree>
  <Tree><Name>Medlar</Name><Colour>Brown</Colour></Tree>
  <Tree><Name>Cherry</Name><Colour>Red</Colour></Tree>
</Orchard>
)";
}  // namespace

DemoWindow::DemoWindow(std::string dataFolder) : data_(std::move(dataFolder)) {
    setWindowTitle("Vantrel on Qt");
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* text, void (DemoWindow::*action)()) {
        auto* b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QPushButton::clicked, [this, action] { (this->*action)(); });
        buttons->addWidget(b);
    };
    button("Begin", &DemoWindow::beginTrans);
    button("Commit", &DemoWindow::commit);
    button("Roll back", &DemoWindow::rollBack);
    button("Save XML", &DemoWindow::saveXml);
    button("Load XML", &DemoWindow::loadXml);
    button("Save settings", &DemoWindow::saveSettings);
    button("Reload settings", &DemoWindow::reloadSettings);
    buttons->addStretch();
    layout->addLayout(buttons);

    host_ = std::make_unique<ax::QtHost>(this);
    host_->form()->setMinimumSize(760, 330);
    layout->addWidget(host_->form(), 1);
    auto* notesRow = new QHBoxLayout;
    notesRow->addWidget(new QLabel("Notes:", this));
    notes_ = new QLineEdit(this);
    notes_->setPlaceholderText("Tab from the grid comes here; Shift+Tab goes back");
    notesRow->addWidget(notes_, 1);
    layout->addLayout(notesRow);
    status_ = new QLabel(this);
    layout->addWidget(status_);
    resize(800, 420);

    grid_ = std::make_shared<vantrel::Vantrel>();
    host_->place(grid_, 11400, 4800, 4, 4);
    fillSample();
    host_->syncViews();
    std::ofstream(data_ + "/orchard.xml") << kSampleXml;
}

DemoWindow::~DemoWindow() = default;

void DemoWindow::fillSample() {
    vantrel::Vantrel& g = *grid_;
    const int32_t cols = int32_t(std::size(kColumns)) + 1;
    g.setCols(cols);
    g.setRows(kRows);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setAllowUserResizing(ax::flex::ResizeBoth);
    setColWidth(g, 0, 400);
    auto images = std::make_shared<ax::ImageList>();
    images->ListImages()->Add(ax::Variant(), ax::Variant("gold"), ax::Variant(swatch(0xFF00C8FFu)));
    images->ListImages()->Add(ax::Variant(), ax::Variant("silver"), ax::Variant(swatch(0xFFC0C0C0u)));
    images->ListImages()->Add(ax::Variant(), ax::Variant("bronze"), ax::Variant(swatch(0xFF3070B0u)));
    g.setImageList(images);
    for (int32_t c = 1; c < cols; ++c) {
        const Column& col = kColumns[c - 1];
        g.setTextMatrix(0, c, col.heading);
        setColWidth(g, c, col.width);
        g.setRow(1);
        g.setCol(c);
        g.setColInputStyle(col.kind);
        switch (col.kind) {
            case InputStyleKind::ComboBox:
            case InputStyleKind::ComboDropDown:
                for (auto t : {"Red", "Green", "Yellow", "Brown"}) addItem(g, t);
                break;
            case InputStyleKind::ImageCombo:
                addItem(g, "Gold", ax::Variant(int32_t(1)));
                addItem(g, "Silver", ax::Variant(int32_t(2)));
                addItem(g, "Bronze", ax::Variant(int32_t(3)));
                break;
            case InputStyleKind::MaskEDBox:
                g.setColMaskEditMask("###-####");
                break;
            case InputStyleKind::ZelPicker:
                g.setColZelPickerMin(0);
                g.setColZelPickerMax(500);
                break;
            default:
                break;
        }
    }
    const char* fruits[] = {"Apple", "Pear", "Plum", "Fig", "Lime", "Kiwi", "Date", "Sloe"};
    for (int32_t r = 1; r < kRows; ++r) {
        g.setTextMatrix(r, 0, std::to_string(r));
        g.setTextMatrix(r, 1, std::string(fruits[(r - 1) % 8]) + (r > 8 ? " " + std::to_string(r) : ""));
        g.setTextMatrix(r, 2, r % 2 ? "Red" : "Green");
        g.setTextMatrix(r, 5, std::to_string(r * 3));
    }
    g.setRow(1);
    g.setCol(1);
}

void DemoWindow::say(const std::string& text) { status_->setText(QString::fromStdString(text)); }

// Each button's action reports what it did, or the error the grid raised, in the status line.
namespace {
void attempt(const std::function<void()>& f, const std::function<void(const std::string&)>& say,
             const char* done) {
    try {
        f();
        say(done);
    } catch (const ax::AutomationError& e) {
        say(std::string("Error ") + std::to_string(e.number()) + ": " + e.description());
    }
}
}  // namespace

void DemoWindow::beginTrans() {
    attempt([&] { grid_->BeginTrans(); }, [this](auto& s) { say(s); }, "Transaction begun");
}
void DemoWindow::commit() {
    attempt([&] { grid_->Commit(); }, [this](auto& s) { say(s); }, "Committed");
}
void DemoWindow::rollBack() {
    attempt([&] { grid_->RollBack(); }, [this](auto& s) { say(s); }, "Rolled back");
    host_->syncViews();
}
void DemoWindow::saveXml() {
    attempt(
        [&] {
            if (!xmlLoaded_) loadXmlFile();
            call(*grid_, "UpdateXMLRoot");
            call(*grid_, "SaveXMLDoc");
        },
        [this](auto& s) { say(s); }, "Saved the grid to orchard.xml");
}
void DemoWindow::loadXml() {
    attempt([&] { loadXmlFile(); }, [this](auto& s) { say(s); }, "Loaded orchard.xml");
    host_->syncViews();
}
void DemoWindow::loadXmlFile() {
    ax::letProperty(*grid_, "XMLFilePath", ax::Variant(data_ + "/orchard.xml"));
    call(*grid_, "LoadXMLDoc");
    call(*grid_, "LoadXMLRoot", {ax::Variant(true)});
    // The loaded columns are the document's, not the sample's: give each room for its texts.
    for (int32_t c = 0; c < grid_->Cols(); ++c) setColWidth(*grid_, c, 1500);
    xmlLoaded_ = true;
}
void DemoWindow::saveSettings() {
    attempt(
        [&] {
            ax::XmlPropertyBag bag;
            grid_->WriteProperties(bag);
            bag.save(data_ + "/form-settings.xml");
        },
        [this](auto& s) { say(s); }, "Saved the form's settings");
}
void DemoWindow::reloadSettings() {
    attempt(
        [&] {
            ax::XmlPropertyBag bag;
            if (!bag.load(data_ + "/form-settings.xml"))
                ax::raise(ax::err::FileNotFound, "no saved settings");
            grid_->ReadProperties(bag);
        },
        [this](auto& s) { say(s); }, "Reloaded the form's settings");
    host_->syncViews();
}

// ---------------------------------------------------------------------------------------------

int DemoWindow::runTour(const std::string& folder) {
    int failed = 0, shot = 0;
    auto* inner = dynamic_cast<ax::QtFlexGrid*>(&grid_->innerGrid());
    if (!inner || !inner->canvas()) {
        std::printf("the inner grid is not on screen\n");
        return 1;
    }
    auto settle = [&] {
        host_->syncViews();
        QApplication::processEvents();
    };
    auto snap = [&](const std::string& name) {
        settle();
        ++shot;
        const std::string path =
            folder + "/" + (shot < 10 ? "0" : "") + std::to_string(shot) + "-" + name + ".png";
        // Dropped lists and calendars are windows of their own: drawn over the window where they are.
        QPixmap picture = grab();
        QPainter painter(&picture);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != this && top->isVisible() && (top->windowFlags() & Qt::Popup) == Qt::Popup)
                painter.drawPixmap(mapFromGlobal(top->pos()), top->grab());
        painter.end();
        if (!picture.save(QString::fromStdString(path))) {
            std::printf("  could not write %s\n", path.c_str());
            ++failed;
        }
    };
    auto check = [&](bool ok, const std::string& what) {
        std::printf("  %s %s\n", ok ? "ok  " : "FAIL", what.c_str());
        if (!ok) ++failed;
    };
    // The user clicks a cell of the grid on screen.
    auto clickCell = [&](int32_t row, int32_t col) {
        const QPoint at(int((inner->ColPos(col) + inner->ColWidth(col) / 2) / inner->twipsPerPixelX()),
                        int((inner->RowPos(row) + inner->RowHeight(row) / 2) / inner->twipsPerPixelY()));
        QTest::mouseClick(inner->canvas(), Qt::LeftButton, {}, at);
        settle();
    };
    // The editor open over the grid, if any.
    auto openEditor = [&]() -> ax::Child* {
        for (const auto& c : host_->host().children(*grid_))
            if (c->Visible() && c->Name() != "FlexGrid") return c.get();
        return nullptr;
    };
    // Keys go to the widget of the child that has the focus, as on a desktop.
    auto keyTarget = [&]() -> QWidget* {
        ax::Child* f = host_->host().focused();
        QWidget* w = f ? ax::widgetOf(*f) : nullptr;
        return w ? w : inner->canvas();
    };
    auto typeInto = [&](const char* text) {
        QTest::keyClicks(keyTarget(), text);
        settle();
    };
    auto press = [&](Qt::Key k) {
        QTest::keyClick(keyTarget(), k);
        settle();
    };
    // The user clicks an entry of a dropped list.
    auto clickListEntry = [&](QComboBox* combo, int index) {
        QAbstractItemView* list = combo->view();
        if (index < 0 || !list->isVisible()) return;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(index, 0)).center());
        settle();
    };
    auto step = [&](const char* what, const std::function<void()>& body) {
        std::printf("%s\n", what);
        try {
            body();
        } catch (const ax::AutomationError& e) {
            check(false, std::string("raised ") + std::to_string(e.number()) + " " + e.description());
        }
    };

    step("The grid with a column of each editor kind", [&] {
        snap("grid");
        check(inner->canvas()->isVisible(), "the grid is on screen");
    });
    step("Text editor: click Fruit on row 2, type, Enter", [&] {
        clickCell(2, 1);
        ax::Child* e = openEditor();
        check(e && ax::widgetOf(*e) && ax::widgetOf(*e)->isVisible(), "a text editor is open over the cell");
        press(Qt::Key_End);
        typeInto("s");
        snap("text-editor");
        press(Qt::Key_Return);
        check(grid_->TextMatrix(2, 1) == "Pears", "the cell reads \"" + grid_->TextMatrix(2, 1) + "\"");
    });
    step("List editor: click Colour on row 3 and choose Yellow", [&] {
        clickCell(3, 2);
        ax::Child* e = openEditor();
        auto* combo = e ? dynamic_cast<QComboBox*>(ax::widgetOf(*e)) : nullptr;
        check(combo != nullptr, "a list editor is open over the cell");
        if (!combo) return;
        press(Qt::Key_F4);
        snap("list-editor");
        clickListEntry(combo, combo->findText("Yellow"));
        press(Qt::Key_Return);
        check(grid_->TextMatrix(3, 2) == "Yellow", "the cell reads \"" + grid_->TextMatrix(3, 2) + "\"");
    });
    step("Check box: click Ripe on row 1, then tick the box", [&] {
        clickCell(1, 3);
        ax::Child* box = openEditor();
        QWidget* w = box ? ax::widgetOf(*box) : nullptr;
        check(w != nullptr && w->isVisible(), "a check box is open over the cell");
        if (!w) return;
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
        settle();
        snap("check-box");
        check(grid_->TextMatrix(1, 3) == "1",
              "the box is ticked: the cell reads \"" + grid_->TextMatrix(1, 3) + "\"");
        press(Qt::Key_Return);
        snap("check-mark");
        check(grid_->TextMatrix(1, 3) == "1", "Enter keeps the tick");
    });
    step("Date editor: click Picked on row 2", [&] {
        clickCell(2, 4);
        ax::Child* e = openEditor();
        check(e != nullptr, "a date editor is open over the cell");
        snap("date-editor");
        press(Qt::Key_Return);
        check(!grid_->TextMatrix(2, 4).empty(), "the cell reads \"" + grid_->TextMatrix(2, 4) + "\"");
    });
    step("Number editor: click Boxes on row 2 and spin it up twice", [&] {
        clickCell(2, 5);
        check(openEditor() != nullptr, "the number editor is open over the cell");
        // The arrows are the editor's scroll bar: two clicks on its up (right) arrow.
        QWidget* field = keyTarget();
        QScrollBar* arrows =
            field && field->parentWidget() ? field->parentWidget()->findChild<QScrollBar*>() : nullptr;
        check(arrows != nullptr && arrows->isVisible(), "the editor shows its arrows");
        if (!arrows) return;
        const QPoint upArrow = arrows->orientation() == Qt::Horizontal
                                   ? QPoint(arrows->width() - 3, arrows->height() / 2)
                                   : QPoint(arrows->width() / 2, 3);
        QTest::mouseClick(arrows, Qt::LeftButton, {}, upArrow);
        QTest::mouseClick(arrows, Qt::LeftButton, {}, upArrow);
        snap("number-editor");
        press(Qt::Key_Return);
        check(grid_->TextMatrix(2, 5) == "8", "the cell reads \"" + grid_->TextMatrix(2, 5) + "\"");
    });
    step("Masked editor: click Code on row 1 and type seven digits", [&] {
        clickCell(1, 6);
        check(openEditor() != nullptr, "the masked editor is open over the cell");
        typeInto("5551234");
        snap("mask-editor");
        press(Qt::Key_Return);
        check(grid_->TextMatrix(1, 6) == "555-1234", "the cell reads \"" + grid_->TextMatrix(1, 6) + "\"");
    });
    step("Closing the window with an editor open keeps its text", [&] {
        clickCell(5, 1);
        press(Qt::Key_End);
        typeInto("!");
        check(openEditor() != nullptr, "the text editor is open");
        const std::string before = grid_->TextMatrix(5, 1);
        close();
        settle();
        check(grid_->TextMatrix(5, 1) == "Lime!",
              "the cell reads \"" + grid_->TextMatrix(5, 1) + "\" (was \"" + before + "\")");
        show();
        settle();
    });
    step("Image list editor: click Grade on row 1 and drop its list", [&] {
        clickCell(1, 7);
        ax::Child* e = openEditor();
        auto* combo = e ? dynamic_cast<QComboBox*>(ax::widgetOf(*e)) : nullptr;
        check(combo != nullptr && combo->count() == 3 && !combo->itemIcon(0).isNull(),
              "an image list editor with pictures is open");
        press(Qt::Key_F4);
        snap("image-combo");
        if (combo) clickListEntry(combo, 1);
        press(Qt::Key_Return);
        check(grid_->TextMatrix(1, 7) == "Silver", "the cell reads \"" + grid_->TextMatrix(1, 7) + "\"");
    });
    step("Tab leaves the grid for the notes field, Shift+Tab comes back", [&] {
        activateWindow();
        QApplication::setActiveWindow(this);
        clickCell(3, 1);
        typeInto("s");
        press(Qt::Key_Tab);
        check(notes_->hasFocus(), "the notes field has the focus");
        check(openEditor() == nullptr, "the editor closed as the focus left");
        check(grid_->TextMatrix(3, 1) == "s", "the cell kept \"" + grid_->TextMatrix(3, 1) + "\"");
        snap("tab-out");
        QTest::keyClick(notes_, Qt::Key_Backtab, Qt::ShiftModifier);
        settle();
        check(host_->host().focused() == &grid_->innerGrid(), "Shift+Tab gave the grid the focus back");
    });
    step("Clipboard and input method in the text editor", [&] {
        clickCell(6, 1);
        press(Qt::Key_End);
        QGuiApplication::clipboard()->setText(" and pasted");
        QTest::keyClick(keyTarget(), Qt::Key_V, Qt::ControlModifier);
        settle();
        check(grid_->TextMatrix(6, 1) == "Kiwi and pasted", "Ctrl+V: \"" + grid_->TextMatrix(6, 1) + "\"");
        QTest::keyClick(keyTarget(), Qt::Key_Z, Qt::ControlModifier);
        settle();
        check(grid_->TextMatrix(6, 1) == "Kiwi", "Ctrl+Z: \"" + grid_->TextMatrix(6, 1) + "\"");
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("日本"));
        QApplication::sendEvent(keyTarget(), &commit);
        settle();
        check(grid_->TextMatrix(6, 1) == "Kiwi日本",
              "an input method's commit: \"" + grid_->TextMatrix(6, 1) + "\"");
        press(Qt::Key_Escape);
    });
    step("Resizing the Fruit column by its heading's border, then fitting it with a double click", [&] {
        const QPoint border(int((inner->ColPos(1) + inner->ColWidth(1)) / inner->twipsPerPixelX()), 6);
        QTest::mouseMove(inner->canvas(), border);
        settle();
        check(inner->canvas()->cursor().shape() == Qt::SizeHorCursor,
              "the size pointer shows over the border");
        const int32_t before = inner->ColWidth(1);
        QTest::mousePress(inner->canvas(), Qt::LeftButton, {}, border);
        QTest::mouseMove(inner->canvas(), border + QPoint(60, 0));
        QTest::mouseRelease(inner->canvas(), Qt::LeftButton, {}, border + QPoint(60, 0));
        press(Qt::Key_Escape);  // the press opened the editor of the current cell, as any press does
        snap("column-resized");
        check(inner->ColWidth(1) > before, "the column is wider: " + std::to_string(inner->ColWidth(1)));
        const QPoint moved(int((inner->ColPos(1) + inner->ColWidth(1)) / inner->twipsPerPixelX()), 6);
        QTest::mouseDClick(inner->canvas(), Qt::LeftButton, {}, moved);
        press(Qt::Key_Escape);
        check(inner->ColWidth(1) == inner->fittingWidth(1),
              "a double click fits it to its texts: " + std::to_string(inner->ColWidth(1)));
    });
    step("Transactions: begin, change a cell, roll back", [&] {
        grid_->BeginTrans();
        grid_->setTextMatrix(4, 1, "Changed");
        settle();
        snap("in-transaction");
        grid_->RollBack();
        settle();
        check(grid_->TextMatrix(4, 1) == "Fig", "roll back restores \"" + grid_->TextMatrix(4, 1) + "\"");
    });
    step("Scrolling with the wheel", [&] {
        QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -360), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(inner->canvas(), &down);
        snap("scrolled");
        check(grid_->innerGrid().TopRow() > 1,
              "the grid scrolled to row " + std::to_string(grid_->innerGrid().TopRow()));
    });
    step("The sample XML file loaded", [&] {
        try {
            loadXmlFile();
        } catch (const ax::AutomationError& e) {
            // A grid without XML members yet is reported, not counted as a failure of the window.
            if (e.number() == 438) {
                std::printf("  skip the grid does not offer XML loading in this build\n");
                return;
            }
            throw;
        }
        snap("xml-loaded");
        check(grid_->TextMatrix(1, 1) == "Quince" || grid_->TextMatrix(1, 0) == "Quince",
              "the first tree reads \"" + grid_->TextMatrix(1, 1) + "\"");
    });
    return failed;
}

}  // namespace demo
