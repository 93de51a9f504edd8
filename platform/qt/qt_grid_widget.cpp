#include "platform/qt/qt_grid_widget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/automation/convert.h"
#include "platform/automation/vector_picture.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_host.h"

namespace ax {

namespace {
using Format = HeadlessFlexGrid::CellFormat;

QPixmap pixmapOfPicture(const Picture& p) {
    if (p.Width() <= 0 || p.Height() <= 0 || p.pixels().size() < size_t(p.Width()) * size_t(p.Height()))
        return {};
    QImage img(reinterpret_cast<const uchar*>(p.pixels().data()), p.Width(), p.Height(), p.Width() * 4,
               QImage::Format_RGBA8888);
    return QPixmap::fromImage(img);
}

Qt::Alignment qtAlignment(int32_t a, bool numeric) {
    if (a == flex::AlignGeneral) return Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft);
    Qt::Alignment h = a / 3 == 0 ? Qt::AlignLeft : a / 3 == 1 ? Qt::AlignHCenter : Qt::AlignRight;
    Qt::Alignment v = a % 3 == 0 ? Qt::AlignTop : a % 3 == 1 ? Qt::AlignVCenter : Qt::AlignBottom;
    return h | v;
}

// A picture at `at` (logical pixels): a drawing by its strokes, crisp at the screen's pixel ratio; a
// bitmap by its pixels.
void drawPicture(QPainter& p, const Picture& picture, const QRectF& at) {
    if (const auto* drawing = dynamic_cast<const VectorPicture*>(&picture)) {
        const double sx = at.width() / std::max(1, picture.Width()),
                     sy = at.height() / std::max(1, picture.Height());
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        for (const VectorPicture::Stroke& s : drawing->strokes()) {
            if (s.points.empty()) continue;
            QPainterPath path(
                QPointF(at.left() + s.points[0].first * sx, at.top() + s.points[0].second * sy));
            for (size_t i = 1; i < s.points.size(); ++i)
                path.lineTo(at.left() + s.points[i].first * sx, at.top() + s.points[i].second * sy);
            const QColor colour(int(s.rgba & 0xFF), int((s.rgba >> 8) & 0xFF), int((s.rgba >> 16) & 0xFF),
                                int(s.rgba >> 24));
            p.setPen(QPen(colour, s.width * std::min(sx, sy), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(path);
        }
        p.restore();
        return;
    }
    const QPixmap pm = pixmapOfPicture(picture);
    if (!pm.isNull()) p.drawPixmap(at, pm, QRectF(pm.rect()));
}

// A cell's grid lines. Their edges are put on whole device pixels and their width is a whole number of
// them, so that at a fractional scale (1.5x) every line is as thick as the next.
void drawLines(QPainter& p, const QRect& r, int32_t style, const QColor& colour, int width) {
    if (style == flex::GridNone || width <= 0) return;
    // The painter's scale to device pixels (a widget rendered into an image of another ratio included).
    const double ratio = std::clamp(std::abs(p.deviceTransform().m11()), 0.5, 16.0);
    auto snap = [ratio](double v) { return std::round(v * ratio) / ratio; };
    const double w = std::max(1.0, std::round(width * ratio)) / ratio,
                 one = std::max(1.0, std::round(ratio)) / ratio;
    const double x0 = snap(r.left()), y0 = snap(r.top()), x1 = snap(r.right() + 1), y1 = snap(r.bottom() + 1);
    if (style == flex::GridFlat) {
        p.fillRect(QRectF(x1 - w, y0, w, y1 - y0), colour);
        p.fillRect(QRectF(x0, y1 - w, x1 - x0, w), colour);
        return;
    }
    // Inset and raised: a light and a dark edge, swapped between the two.
    const QColor light = Qt::white,
                 dark = colour.isValid() && colour != Qt::black ? colour.darker(150) : QColor(128, 128, 128);
    const QColor& topLeft = style == flex::GridRaised ? light : dark;
    const QColor& bottomRight = style == flex::GridRaised ? dark : light;
    p.fillRect(QRectF(x0, y0, x1 - x0, one), topLeft);
    p.fillRect(QRectF(x0, y0, one, y1 - y0), topLeft);
    p.fillRect(QRectF(x1 - w, y0, w, y1 - y0), bottomRight);
    p.fillRect(QRectF(x0, y1 - w, x1 - x0, w), bottomRight);
}
}  // namespace

GridCanvas::GridCanvas(QtFlexGrid* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The grid hears the mouse moving over it with no button held, as a desktop window does: it reports
    // MouseMove and shows the size pointer over a border it lets the user drag.
    setMouseTracking(true);
}

void GridCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!grid_->Redraw() && !frozen.isNull()) {
        p.drawPixmap(0, 0, frozen);
        return;
    }
    paintCells(p, width(), height());
}

void GridCanvas::wheelEvent(QWheelEvent* e) {
    const int steps = e->angleDelta().y() / 40;  // three rows a notch
    if (steps == 0) return;
    const int32_t top = std::clamp(grid_->TopRow() - steps, grid_->FixedRows(),
                                   std::max(grid_->FixedRows(), grid_->lastTopRow()));
    if (top != grid_->TopRow() && grid_->Rows() > grid_->FixedRows()) grid_->setTopRow(top);
    if (auto* h = QtHost::hostOf(grid_->container())) h->syncViews();
    e->accept();
}

void GridCanvas::paintCells(QPainter& p, int w, int h) const {
    const HeadlessFlexGrid& g = *grid_;
    const float tx = grid_->twipsPerPixelX(), ty = grid_->twipsPerPixelY();
    p.fillRect(0, 0, w, h, qtColour(g.BackColorBkg()));
    const int32_t rows = g.Rows(), cols = g.Cols();
    if (rows == 0 || cols == 0) return;

    // The rows and columns in view, with their pixel edges, worked out once per paint.
    struct Span {
        int32_t index;
        int from, to;
    };
    std::vector<Span> rs, cs;
    {
        int64_t y = 0;
        auto add = [&](int32_t r) {
            const int32_t hgt = g.RowHeight(r);
            if (hgt <= 0) return true;
            const int a = int(std::lround(y / ty)), b = int(std::lround((y + hgt) / ty));
            y += hgt;
            rs.push_back({r, a, b});
            return b < h;
        };
        bool more = true;
        for (int32_t r = 0; r < std::min(g.FixedRows(), rows) && more; ++r) more = add(r);
        for (int32_t r = std::max(g.TopRow(), g.FixedRows()); r < rows && more; ++r) more = add(r);
    }
    {
        int64_t x = 0;
        auto add = [&](int32_t c) {
            const int32_t wid = g.ColWidth(c);
            if (wid <= 0) return true;
            const int a = int(std::lround(x / tx)), b = int(std::lround((x + wid) / tx));
            x += wid;
            cs.push_back({c, a, b});
            return b < w;
        };
        bool more = true;
        for (int32_t c = 0; c < std::min(g.FixedCols(), cols) && more; ++c) more = add(c);
        for (int32_t c = std::max(g.LeftCol(), g.FixedCols()); c < cols && more; ++c) more = add(c);
    }

    const bool focused = grid_->hasFocus();
    const bool highlight =
        g.HighLight() == flex::HighlightAlways || (g.HighLight() == flex::HighlightWithFocus && focused);
    const QFont baseFont = g.Font() ? qtFont(*g.Font()) : QFont();
    const QColor back = qtColour(g.BackColor()), backFixed = qtColour(g.BackColorFixed()),
                 backSel = qtColour(g.BackColorSel());
    const QColor fore = qtColour(g.ForeColor()), foreFixed = qtColour(g.ForeColorFixed()),
                 foreSel = qtColour(g.ForeColorSel());
    const QColor gridColour = qtColour(g.GridColor()), gridFixed = qtColour(g.GridColorFixed());
    const int lineWidth = std::max<int>(0, g.GridLineWidth());

    for (const Span& R : rs) {
        for (const Span& C : cs) {
            const int32_t r = R.index, c = C.index;
            const QRect cell(C.from, R.from, C.to - C.from, R.to - R.from);
            const bool fixed = r < g.FixedRows() || c < g.FixedCols();
            const Format* f = g.cellFormat(r, c);
            const bool current = r == g.Row() && c == g.Col();
            const bool selected = !fixed && highlight && !current && g.isSelected(r, c);
            QColor bg = fixed ? backFixed : back, fg = fixed ? foreFixed : fore;
            if (f && (f->own & HeadlessFlexGrid::OwnBack)) bg = qtColour(f->back);
            if (f && (f->own & HeadlessFlexGrid::OwnFore)) fg = qtColour(f->fore);
            if (selected) bg = backSel, fg = foreSel;
            p.fillRect(cell, bg);

            const QRect inner = cell.adjusted(2, 1, -2 - lineWidth, -1 - lineWidth);
            if (f && (f->own & HeadlessFlexGrid::OwnPicture) && hasPicture(f->picture) &&
                f->picture->Width() > 0 && f->picture->Height() > 0) {
                const Picture& picture = *f->picture;
                const int16_t pa = (f->own & HeadlessFlexGrid::OwnPictureAlignment) ? f->pictureAlignment
                                                                                    : flex::AlignLeftCenter;
                p.save();
                p.setClipRect(cell);
                if (pa == flex::PictureStretch) {
                    drawPicture(p, picture, cell);
                } else if (pa == flex::PictureTile) {
                    const QPixmap pm = pixmapOfPicture(picture);
                    if (!pm.isNull()) p.drawTiledPixmap(cell, pm);
                } else {
                    const QRect at = QStyle::alignedRect(Qt::LeftToRight, qtAlignment(pa, false),
                                                         QSize(picture.Width(), picture.Height()), inner);
                    drawPicture(p, picture, at);
                }
                p.restore();
            }

            const std::string& text = g.TextMatrix(r, c);
            if (!text.empty() && inner.width() > 0 && inner.height() > 0) {
                QFont font = baseFont;
                if (f) {
                    if (f->own & HeadlessFlexGrid::OwnFontName)
                        font.setFamily(QString::fromStdString(f->fontName));
                    if (f->own & HeadlessFlexGrid::OwnFontSize)
                        font.setPointSizeF(std::min(f->fontSize, 1000.0f));
                    if (f->own & HeadlessFlexGrid::OwnBold) font.setBold(f->bold);
                    if (f->own & HeadlessFlexGrid::OwnItalic) font.setItalic(f->italic);
                    if (f->own & HeadlessFlexGrid::OwnUnderline) font.setUnderline(f->underline);
                    if (f->own & HeadlessFlexGrid::OwnStrikeThrough) font.setStrikeOut(f->strikeThrough);
                }
                int32_t align = fixed && r < g.FixedRows() ? g.FixedAlignment(c) : g.ColAlignment(c);
                if (f && (f->own & HeadlessFlexGrid::OwnAlignment)) align = f->alignment;
                const bool numeric = align == flex::AlignGeneral && readsAsNumber(text);
                int flags = int(qtAlignment(align, numeric));
                if (g.WordWrap()) flags |= Qt::TextWordWrap;
                const int32_t style = f && (f->own & HeadlessFlexGrid::OwnTextStyle) ? f->textStyle
                                      : fixed                                        ? g.TextStyleFixed()
                                                                                     : g.TextStyle();
                const QString qtext = QString::fromStdString(text);
                p.save();
                p.setClipRect(inner);
                p.setFont(font);
                if (style != flex::TextFlat) {
                    // Raised text has its light edge above and left, inset text below and right.
                    const int d = (style == flex::TextRaised || style == flex::TextRaisedLight) ? -1 : 1;
                    p.setPen(Qt::white);
                    p.drawText(inner.translated(d, d), flags, qtext);
                    if (style == flex::TextRaised || style == flex::TextInset) {
                        p.setPen(QColor(128, 128, 128));
                        p.drawText(inner.translated(-d, -d), flags, qtext);
                    }
                }
                p.setPen(fg);
                p.drawText(inner, flags, qtext);
                p.restore();
            }
        }
    }
    // The lines go on last: at a fractional scale a neighbour's fill may reach the pixel a line snaps to.
    for (const Span& R : rs)
        for (const Span& C : cs) {
            const bool fixed = R.index < g.FixedRows() || C.index < g.FixedCols();
            drawLines(p, QRect(C.from, R.from, C.to - C.from, R.to - R.from),
                      fixed ? g.GridLinesFixed() : g.GridLines(), fixed ? gridFixed : gridColour, lineWidth);
        }

    // The focus rectangle on the current cell, when it is in view.
    if (g.FocusRect() != flex::FocusNone && g.Row() >= g.FixedRows() && g.Col() >= g.FixedCols()) {
        auto rIt = std::find_if(rs.begin(), rs.end(), [&](const Span& s) { return s.index == g.Row(); });
        auto cIt = std::find_if(cs.begin(), cs.end(), [&](const Span& s) { return s.index == g.Col(); });
        if (rIt != rs.end() && cIt != cs.end()) {
            const QRect cell(cIt->from, rIt->from, cIt->to - cIt->from - lineWidth,
                             rIt->to - rIt->from - lineWidth);
            QPen pen(fore);
            if (g.FocusRect() == flex::FocusHeavy) {
                pen.setWidth(2);
                p.setPen(pen);
                p.drawRect(cell.adjusted(1, 1, -1, -1));
            } else {
                pen.setStyle(Qt::DotLine);
                p.setPen(pen);
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------

float QtFlexGrid::twipsPerPixelX() const {
    auto* h = QtHost::hostOf(container());
    return h ? h->twipsPerPixelX() : 15.0f;
}

float QtFlexGrid::twipsPerPixelY() const {
    auto* h = QtHost::hostOf(container());
    return h ? h->twipsPerPixelY() : 15.0f;
}

int32_t QtFlexGrid::lastTopRow() const {
    if (!canvas_) return FixedRows();
    int64_t room = int64_t(canvas_->height() * twipsPerPixelY());
    for (int32_t r = 0; r < FixedRows(); ++r) room -= RowHeight(r);
    int32_t top = Rows();
    while (top > FixedRows()) {
        const int32_t hgt = RowHeight(top - 1);
        if (hgt > room) break;
        room -= hgt;
        --top;
    }
    return std::min(Rows() - 1, std::max(top, FixedRows()));
}

int32_t QtFlexGrid::lastLeftCol() const {
    if (!canvas_) return FixedCols();
    int64_t room = int64_t(canvas_->width() * twipsPerPixelX());
    for (int32_t c = 0; c < FixedCols(); ++c) room -= ColWidth(c);
    int32_t left = Cols();
    while (left > FixedCols()) {
        const int32_t wid = ColWidth(left - 1);
        if (wid > room) break;
        room -= wid;
        --left;
    }
    return std::min(Cols() - 1, std::max(left, FixedCols()));
}

QWidget* QtFlexGrid::makeWidget(QWidget* parent) {
    auto* box = new QWidget(parent);
    canvas_ = new GridCanvas(this, box);
    vbar_ = new QScrollBar(Qt::Vertical, box);
    hbar_ = new QScrollBar(Qt::Horizontal, box);
    vbar_->setFocusPolicy(Qt::NoFocus);
    hbar_->setFocusPolicy(Qt::NoFocus);
    // Moving a scroll bar scrolls the model, which tells the control.
    QObject::connect(vbar_, &QScrollBar::valueChanged, [this](int v) {
        if (syncing_ || v == TopRow()) return;
        setTopRow(v);
        if (auto* h = QtHost::hostOf(container())) h->syncViews();
    });
    QObject::connect(hbar_, &QScrollBar::valueChanged, [this](int v) {
        if (syncing_ || v == LeftCol()) return;
        setLeftCol(v);
        if (auto* h = QtHost::hostOf(container())) h->syncViews();
    });
    box->setFocusProxy(canvas_);
    return box;
}

void QtFlexGrid::installInput() {
    // The cells take keys and the mouse as the model does; the scroll bars keep Qt's own handling.
    canvas_->installEventFilter(new ChildInputFilter(this, widget_, true));
    widget_->installEventFilter(new ChildInputFilter(this, widget_, true));
}

void QtFlexGrid::layoutParts() {
    const int w = widget_->width(), h = widget_->height();
    const int bar = 16;
    // A bar shows only when its direction is allowed and the cells do not fit.
    const auto fitRows = [&](int height) {
        int64_t total = 0;
        for (int32_t r = 0; r < Rows() && total <= int64_t(height * twipsPerPixelY()); ++r)
            total += RowHeight(r);
        return total <= int64_t(height * twipsPerPixelY());
    };
    const auto fitCols = [&](int width) {
        int64_t total = 0;
        for (int32_t c = 0; c < Cols() && total <= int64_t(width * twipsPerPixelX()); ++c)
            total += ColWidth(c);
        return total <= int64_t(width * twipsPerPixelX());
    };
    bool vert = (ScrollBars() & flex::ScrollVertical) && !fitRows(h);
    bool horz = (ScrollBars() & flex::ScrollHorizontal) && !fitCols(vert ? w - bar : w);
    if (!vert && horz) vert = (ScrollBars() & flex::ScrollVertical) && !fitRows(h - bar);
    const int cw = std::max(0, w - (vert ? bar : 0)), ch = std::max(0, h - (horz ? bar : 0));
    canvas_->setGeometry(0, 0, cw, ch);
    vbar_->setGeometry(cw, 0, bar, ch);
    hbar_->setGeometry(0, ch, cw, bar);
    vbar_->setVisible(vert);
    hbar_->setVisible(horz);
    if (vert) {
        vbar_->setRange(FixedRows(), std::max(FixedRows(), lastTopRow()));
        vbar_->setPageStep(
            std::max(1, int(ch * twipsPerPixelY()) / std::max(1, RowHeight(std::min(TopRow(), Rows() - 1)))));
        vbar_->setValue(TopRow());
    }
    if (horz) {
        hbar_->setRange(FixedCols(), std::max(FixedCols(), lastLeftCol()));
        hbar_->setPageStep(1);
        hbar_->setValue(LeftCol());
    }
}

int32_t QtFlexGrid::textWidth(int32_t row, int32_t col) const {
    const std::string text = TextMatrix(row, col);
    if (text.empty()) return 0;
    QFont font = Font() ? qtFont(*Font()) : QFont();
    if (const CellFormat* f = cellFormat(row, col)) {
        if (f->own & OwnFontName) font.setFamily(QString::fromStdString(f->fontName));
        if (f->own & OwnFontSize) font.setPointSizeF(std::min(f->fontSize, 1000.0f));
        if (f->own & OwnBold) font.setBold(f->bold);
        if (f->own & OwnItalic) font.setItalic(f->italic);
    }
    const QFontMetricsF metrics(font, canvas_);
    return int32_t(std::ceil(metrics.horizontalAdvance(QString::fromStdString(text)) * twipsPerPixelX()));
}

void QtFlexGrid::show(QWidget*) {
    layoutParts();
    const int32_t pointer = pointerShown();
    if (pointer == 0)
        canvas_->unsetCursor();
    else
        canvas_->setCursor(qtCursor(pointer, MouseIcon()));
    // What a screen reader hears of the change: the table's texts, the selection, the focused cell.
    Seen now{Rows(), Cols(), Row(), Col(), RowSel(), ColSel(), hasFocus(), {}};
    if (now.row >= 0 && now.row < now.rows && now.col >= 0 && now.col < now.cols)
        now.current = TextMatrix(now.row, now.col);
    announceGridChanges(canvas_, seen_, now, takeTextChanges());
    seen_ = std::move(now);
    // Painting follows Redraw: while it is off the screen keeps what it showed.
    if (!Redraw()) {
        if (redrawWas_) canvas_->frozen = canvas_->grab();
        redrawWas_ = false;
        return;
    }
    redrawWas_ = true;
    canvas_->frozen = QPixmap();
    if (paintCount() != paintedAt_) {
        paintedAt_ = paintCount();
        canvas_->update();
    }
}

}  // namespace ax
