#include "platform/qt/qt_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <map>

#include "platform/flexgrid/cell_access.h"
#include "platform/host/host_site.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/qt/qt_host.h"

namespace ax {

namespace {

class GridAccessible;

// The control that shows its cells through this grid, when it tells about them.
CellAccess* accessOf(const QtFlexGrid* grid) {
    const hosting::HostSite* site = hosting::siteOfChild(grid);
    return site ? dynamic_cast<CellAccess*>(site->control()) : nullptr;
}

// A cell's kind: the control's word for it, else every scrollable cell takes text.
CellAccess::Kind kindOf(const QtFlexGrid* grid, int row, int col) {
    if (const CellAccess* a = accessOf(grid)) return a->cellKind(row, col);
    return row < grid->FixedRows() || col < grid->FixedCols() ? CellAccess::Kind::ReadOnly
                                                              : CellAccess::Kind::Text;
}

class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
  public:
    CellAccessible(GridCanvas* canvas, QtFlexGrid* grid, int row, int col)
        : canvas_(canvas), grid_(grid), row_(row), col_(col) {}

    bool isValid() const override { return canvas_ && row_ < grid_->Rows() && col_ < grid_->Cols(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return canvas_ ? canvas_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(canvas_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        // A check cell shows a mark, not a text: its state says checked or not.
        if (kindOf(grid_, row_, col_) == CellAccess::Kind::Check) return {};
        return QString::fromStdString(grid_->TextMatrix(row_, col_));
    }
    // An editable cell takes a value as the control takes a host's write, its column's rules applied.
    void setText(QAccessible::Text t, const QString& text) override {
        if (!isValid() || t != QAccessible::Value) return;
        write(text.toStdString());
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const float tx = grid_->twipsPerPixelX(), ty = grid_->twipsPerPixelY();
        const QRect local(int(grid_->ColPos(col_) / tx), int(grid_->RowPos(row_) / ty),
                          int(grid_->ColWidth(col_) / tx), int(grid_->RowHeight(row_) / ty));
        return QRect(canvas_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        if (row_ < grid_->FixedRows()) return QAccessible::ColumnHeader;
        if (col_ < grid_->FixedCols()) return QAccessible::RowHeader;
        return QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = row_ == grid_->Row() && col_ == grid_->Col() && grid_->hasFocus();
        s.invisible = !grid_->RowIsVisible(row_) || !grid_->ColIsVisible(col_);
        switch (kindOf(grid_, row_, col_)) {
            case CellAccess::Kind::ReadOnly:
                s.readOnly = true;
                break;
            case CellAccess::Kind::Text:
                s.editable = true;
                break;
            case CellAccess::Kind::Check:
                s.checkable = true;
                s.checked = value() == "1";
                break;
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (t == QAccessible::ActionInterface && isValid() &&
            kindOf(grid_, row_, col_) == CellAccess::Kind::Check)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // --- a check cell's one action
    QStringList actionNames() const override { return {QAccessibleActionInterface::toggleAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        if (name == QAccessibleActionInterface::toggleAction()) write(value() == "1" ? "0" : "1");
    }

    bool isSelected() const override { return isValid() && grid_->isSelected(row_, col_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

  private:
    std::string value() const {
        if (const CellAccess* a = accessOf(grid_)) return a->cellValue(row_, col_);
        return grid_->TextMatrix(row_, col_);
    }
    void write(const std::string& text) {
        if (kindOf(grid_, row_, col_) == CellAccess::Kind::ReadOnly) return;
        if (CellAccess* a = accessOf(grid_))
            a->writeCell(row_, col_, text);
        else
            grid_->setTextMatrix(row_, col_, text);
        if (auto* h = QtHost::hostOf(grid_->container())) h->syncViews();
    }

    QPointer<GridCanvas> canvas_;
    QtFlexGrid* grid_;
    int row_, col_;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    GridAccessible(GridCanvas* canvas, QtFlexGrid* grid)
        : QAccessibleWidget(canvas, QAccessible::Table), canvas_(canvas), grid_(grid) {}
    ~GridAccessible() override {
        for (auto& [key, id] : cells_) QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("Grid");
        if (t == QAccessible::Value)
            return QString::fromStdString(grid_->TextMatrix(grid_->Row(), grid_->Col()));
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return grid_->Rows() * grid_->Cols(); }
    QAccessibleInterface* child(int index) const override {
        const int cols = grid_->Cols();
        if (cols <= 0 || index < 0 || index >= childCount()) return nullptr;
        return cellAt(index / cols, index % cols);
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        if (auto* cell = const_cast<QAccessibleInterface*>(c)->tableCellInterface())
            return cell->rowIndex() * grid_->Cols() + cell->columnIndex();
        return -1;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // --- table
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int col) const override {
        return grid_->FixedRows() > 0 && col < grid_->Cols()
                   ? QString::fromStdString(grid_->TextMatrix(0, col))
                   : QString();
    }
    QString rowDescription(int row) const override {
        return grid_->FixedCols() > 0 && row < grid_->Rows()
                   ? QString::fromStdString(grid_->TextMatrix(row, 0))
                   : QString();
    }
    int columnCount() const override { return grid_->Cols(); }
    int rowCount() const override { return grid_->Rows(); }
    QAccessibleInterface* cellAt(int row, int col) const override {
        if (row < 0 || col < 0 || row >= grid_->Rows() || col >= grid_->Cols()) return nullptr;
        // One interface per cell asked for, kept so a reader can hold on to it.
        auto key = std::make_pair(row, col);
        auto it = cells_.find(key);
        if (it != cells_.end())
            if (auto* known = QAccessible::accessibleInterface(it->second)) return known;
        auto* cell = new CellAccessible(canvas_, grid_, row, col);
        cells_[key] = QAccessible::registerAccessibleInterface(cell);
        return cell;
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> out;
        const int r0 = std::min(grid_->Row(), grid_->RowSel()), r1 = std::max(grid_->Row(), grid_->RowSel());
        const int c0 = std::min(grid_->Col(), grid_->ColSel()), c1 = std::max(grid_->Col(), grid_->ColSel());
        // A reader gets at most a screenful of a large selection.
        for (int r = r0; r <= r1 && out.size() < 1000; ++r)
            for (int c = c0; c <= c1 && out.size() < 1000; ++c)
                if (grid_->isSelected(r, c) || (r == grid_->Row() && c == grid_->Col()))
                    out.push_back(cellAt(r, c));
        return out;
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells keep their interfaces while the texts change; a new shape makes new ones.
    void modelChange(QAccessibleTableModelChangeEvent* e) override {
        if (e->modelChangeType() == QAccessibleTableModelChangeEvent::DataChanged) return;
        for (auto& [key, id] : cells_) QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

  private:
    QPointer<GridCanvas> canvas_;
    QtFlexGrid* grid_;
    mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    QList<QAccessibleInterface*> out;
    auto* t = parent() ? parent()->tableInterface() : nullptr;
    for (int r = 0; t && r < grid_->FixedRows(); ++r) out.push_back(t->cellAt(r, col_));
    return out;
}

QList<QAccessibleInterface*> CellAccessible::rowHeaderCells() const {
    QList<QAccessibleInterface*> out;
    auto* t = parent() ? parent()->tableInterface() : nullptr;
    for (int c = 0; t && c < grid_->FixedCols(); ++c) out.push_back(t->cellAt(row_, c));
    return out;
}

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* canvas = dynamic_cast<GridCanvas*>(object)) return new GridAccessible(canvas, canvas->grid());
    return nullptr;
}

}  // namespace

void announceGridChanges(GridCanvas* canvas, const QtFlexGrid::Seen& before, const QtFlexGrid::Seen& now,
                         const HeadlessFlexGrid::TextChanges& texts) {
    if (!canvas || !QAccessible::isActive()) return;
    if (now.rows != before.rows || now.cols != before.cols) {
        QAccessibleTableModelChangeEvent reset(canvas, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    } else if (texts.any() && now.rows > 0 && now.cols > 0) {
        QAccessibleTableModelChangeEvent data(canvas, QAccessibleTableModelChangeEvent::DataChanged);
        data.setFirstRow(texts.all ? 0 : texts.row0);
        data.setLastRow(texts.all ? now.rows - 1 : texts.row1);
        data.setFirstColumn(texts.all ? 0 : texts.col0);
        data.setLastColumn(texts.all ? now.cols - 1 : texts.col1);
        QAccessible::updateAccessibility(&data);
    }
    const bool moved = now.row != before.row || now.col != before.col;
    const int index = now.row * now.cols + now.col;
    if (moved || now.rowSel != before.rowSel || now.colSel != before.colSel) {
        QAccessibleEvent selection(canvas, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&selection);
    }
    if (now.focused && (moved || !before.focused) && now.row >= 0 && now.col >= 0) {
        QAccessibleEvent focus(canvas, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
    if (!moved && now.current != before.current) {
        QAccessibleValueChangeEvent value(canvas, QString::fromStdString(now.current));
        QAccessible::updateAccessibility(&value);
    }
}

void installGridAccessibility() {
    static const bool installed = (QAccessible::installFactory(&factory), true);
    (void)installed;
}

}  // namespace ax
