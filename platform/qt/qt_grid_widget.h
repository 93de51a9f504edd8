// The inner grid on screen: the headless grid model painted by a widget (only the cells in view),
// with scroll bars from ScrollBars, and Qt's mouse, wheel, key and scroll-bar input fed to the model
// so every notification reaches the grid control as in the headless host.
#pragma once
#include <QPixmap>
#include <QWidget>
#include <string>

#include "platform/flexgrid/headless_flexgrid.h"
#include "platform/qt/qt_child_base.h"

class QScrollBar;

namespace ax {

class QtFlexGrid;

// The painted cell area.
class GridCanvas : public QWidget {
  public:
    GridCanvas(QtFlexGrid* grid, QWidget* parent);
    // Paints the grid's visible cells with p, the canvas being w x h pixels.
    void paintCells(QPainter& p, int w, int h) const;
    QPixmap frozen;  // what was on screen when Redraw went off
    QtFlexGrid* grid() const { return grid_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    QtFlexGrid* grid_;
};

class QtFlexGrid : public QtChild<HeadlessFlexGrid> {
  public:
    // What the view last told a screen reader about, to announce only what changed.
    struct Seen {
        int32_t rows = -1, cols = -1, row = -1, col = -1, rowSel = -1, colSel = -1;
        bool focused = false;
        std::string current;
    };

    GridCanvas* canvas() const { return canvas_; }
    QScrollBar* verticalBar() const { return vbar_; }
    QScrollBar* horizontalBar() const { return hbar_; }
    float twipsPerPixelX() const;
    float twipsPerPixelY() const;
    // The last TopRow (LeftCol) that still fills the view.
    int32_t lastTopRow() const;
    int32_t lastLeftCol() const;

  protected:
    QWidget* makeWidget(QWidget* parent) override;
    void show(QWidget* widget) override;
    void installInput() override;
    // Texts measured in the fonts they are drawn with.
    int32_t textWidth(int32_t row, int32_t col) const override;

  private:
    void layoutParts();
    Seen seen_;

    GridCanvas* canvas_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    uint64_t paintedAt_ = ~uint64_t(0);
    bool redrawWas_ = true;
};

}  // namespace ax
