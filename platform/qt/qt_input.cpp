#include "platform/qt/qt_input.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <cmath>

#include "platform/controls/text_editing.h"
#include "platform/host/child.h"
#include "platform/host/site.h"
#include "platform/qt/qt_edit_menu.h"
#include "platform/qt/qt_host.h"

namespace ax {

bool gHostMovingFocus = false;

namespace {
// The Tab that moved the focus out of a control: its release belongs to the form, as in the headless host.
bool gTabMovedFocus = false;
}  // namespace

int16_t virtualKeyOf(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return int16_t('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return int16_t('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return int16_t(112 + (k - Qt::Key_F1));
    switch (k) {
        case Qt::Key_Backspace:
            return key::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return key::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::Return;
        case Qt::Key_Shift:
            return key::Shift;
        case Qt::Key_Control:
            return key::Control;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Escape:
            return key::Escape;
        case Qt::Key_Space:
            return key::Space;
        case Qt::Key_PageUp:
            return key::PageUp;
        case Qt::Key_PageDown:
            return key::PageDown;
        case Qt::Key_End:
            return key::End;
        case Qt::Key_Home:
            return key::Home;
        case Qt::Key_Left:
            return key::Left;
        case Qt::Key_Up:
            return key::Up;
        case Qt::Key_Right:
            return key::Right;
        case Qt::Key_Down:
            return key::Down;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return key::Delete;
        // Punctuation keys of a US keyboard, shifted or not.
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return 186;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return 187;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return 188;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return 189;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return 190;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return 191;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return 219;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return 221;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return 222;
        // Shifted digits arrive as their symbols.
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_At:
            return '2';
        case Qt::Key_NumberSign:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_AsciiCircum:
            return '6';
        case Qt::Key_Ampersand:
            return '7';
        case Qt::Key_Asterisk:
            return '8';
        case Qt::Key_ParenLeft:
            return '9';
        case Qt::Key_ParenRight:
            return '0';
        default:
            return 0;
    }
}

int16_t shiftMaskOf(Qt::KeyboardModifiers m) {
    int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= shiftmask::Shift;
    if (m & Qt::ControlModifier) s |= shiftmask::Ctrl;
    if (m & Qt::AltModifier) s |= shiftmask::Alt;
    return s;
}

int16_t keyAsciiOf(const QKeyEvent& e) {
    const int16_t vk = virtualKeyOf(e.key());
    const int16_t shift = shiftMaskOf(e.modifiers());
    if (vk == key::Tab || (shift & shiftmask::Alt)) return 0;
    // The character Qt says the key typed (a symbol, an accented letter, another script), unless
    // Ctrl makes it a control character, which the US keyboard table gives.
    const QString t = e.text();
    if (!t.isEmpty() && !(shift & shiftmask::Ctrl)) {
        const char16_t c = t.at(0).unicode();
        if (c >= 32 && c != 127) return int16_t(c);
    }
    return vk ? keyAsciiFor(vk, shift) : 0;
}

namespace {
// The palette colour a system colour stands for on a Qt desktop, so a grid left in system colours looks like
// the other widgets of the style; the colours a Qt palette has no word for (title bars, the desktop) keep
// their classic values.
struct PaletteColour {
    uint8_t index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr PaletteColour kPaletteColours[] = {
    {5, QPalette::Active, QPalette::Base},
    {7, QPalette::Active, QPalette::WindowText},
    {8, QPalette::Active, QPalette::Text},
    {13, QPalette::Active, QPalette::Highlight},
    {14, QPalette::Active, QPalette::HighlightedText},
    {15, QPalette::Active, QPalette::Button},
    {16, QPalette::Active, QPalette::Dark},
    {17, QPalette::Disabled, QPalette::Text},
    {18, QPalette::Active, QPalette::ButtonText},
    {20, QPalette::Active, QPalette::Light},
    {21, QPalette::Active, QPalette::Shadow},
    {22, QPalette::Active, QPalette::Midlight},
    {23, QPalette::Active, QPalette::ToolTipText},
    {24, QPalette::Active, QPalette::ToolTipBase},
};
}  // namespace

QColor qtColour(OleColor c) {
    if (isSystemColor(c) && (c & 0x7FFFFF00u) == 0 &&
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        for (const PaletteColour& p : kPaletteColours)
            if (p.index == (c & 0xFF)) return QGuiApplication::palette().color(p.group, p.role);
    const OleColor v = resolveColor(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QFont qtFont(const Font& f) {
    QFont q(QString::fromStdString(f.Name()));
    q.setPointSizeF(f.Size() > 0 ? std::min(f.Size(), 1000.0f) : 8.25);
    q.setBold(f.Bold());
    q.setItalic(f.Italic());
    q.setUnderline(f.Underline());
    q.setStrikeOut(f.Strikethrough());
    return q;
}

QCursor qtCursor(int32_t pointer, const PicturePtr& icon) {
    switch (pointer) {
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 5:
        case 15:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        case 99:
            if (icon && icon->Width() > 0 && icon->Height() > 0 &&
                icon->pixels().size() >= size_t(icon->Width()) * size_t(icon->Height())) {
                const QImage img(reinterpret_cast<const uchar*>(icon->pixels().data()), icon->Width(),
                                 icon->Height(), icon->Width() * 4, QImage::Format_RGBA8888);
                return QCursor(QPixmap::fromImage(img.copy()));
            }
            return Qt::ArrowCursor;
        default:
            return Qt::ArrowCursor;
    }
}

namespace {
const ControlSurface* surfaceOfContainer(const Container* c) {
    return dynamic_cast<const ControlSurface*>(c);
}
QtHost* hostOfContainer(const Container* c) { return QtHost::hostOf(c); }
}  // namespace

QRect pixelRect(const Container* c, float left, float top, float width, float height) {
    const ControlSurface* s = surfaceOfContainer(c);
    QtHost* h = hostOfContainer(c);
    if (!s || !h) return {};
    auto tx = [&](float v) { return s->ScaleX(v, ScaleMode::User, ScaleMode::Twips) / h->twipsPerPixelX(); };
    auto ty = [&](float v) { return s->ScaleY(v, ScaleMode::User, ScaleMode::Twips) / h->twipsPerPixelY(); };
    const bool user = s->scaleMode() == ScaleMode::User;
    const float x = tx(left - (user ? s->ScaleLeft() : 0)), y = ty(top - (user ? s->ScaleTop() : 0));
    const float w = std::max(0.0f, tx(width)), hh = std::max(0.0f, ty(height));
    return QRect(int(std::lround(x)), int(std::lround(y)), int(std::lround(w)), int(std::lround(hh)));
}

float containerUnitsX(const Container* c, int px) {
    const ControlSurface* s = surfaceOfContainer(c);
    QtHost* h = hostOfContainer(c);
    if (!s || !h) return float(px);
    return s->ScaleX(px * h->twipsPerPixelX(), ScaleMode::Twips, ScaleMode::User);
}

float containerUnitsY(const Container* c, int px) {
    const ControlSurface* s = surfaceOfContainer(c);
    QtHost* h = hostOfContainer(c);
    if (!s || !h) return float(px);
    return s->ScaleY(px * h->twipsPerPixelY(), ScaleMode::Twips, ScaleMode::User);
}

namespace {
int16_t buttonOf(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}
int16_t buttonsOf(Qt::MouseButtons b) {
    return int16_t(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
                   ((b & Qt::MiddleButton) ? 4 : 0));
}
}  // namespace

void ChildInputFilter::forward(QObject* to, QEvent& event) {
    forwarding_ = true;
    QCoreApplication::sendEvent(to, &event);
    forwarding_ = false;
}

bool ChildInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (forwarding_) return false;
    QtHost* qh = QtHost::hostOf(child_->container());
    if (!qh) return false;
    HeadlessHost& host = qh->host();
    auto* w = qobject_cast<QWidget*>(watched);
    auto point = [&](const QMouseEvent* m, float& x, float& y) {
        QPoint p = m->position().toPoint();
        if (w && parent() != watched)  // an inner widget: measure from the child's own widget
            if (auto* top = qobject_cast<QWidget*>(parent())) p = w->mapTo(top, p);
        if (twips_) {
            x = p.x() * qh->twipsPerPixelX();
            y = p.y() * qh->twipsPerPixelY();
        } else {
            x = containerUnitsX(child_->container(), p.x());
            y = containerUnitsY(child_->container(), p.y());
        }
    };
    switch (event->type()) {
        case QEvent::FocusIn: {
            if (gHostMovingFocus) return false;
            // Tabbing in from another widget enters the control at its tab stop, wherever Qt's order
            // put the focus.
            Child* target = child_;
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
                if (Child* stop = qh->tabStopOf(*child_)) target = stop;
            if (host.focused() != target && target->Visible() && target->Enabled()) {
                host.setFocus(target);
                qh->syncViews();
            }
            return false;
        }
        case QEvent::ShortcutOverride: {
            // The editing keys and plain keys are the control's, as a desktop text box keeps them from
            // the window's shortcuts; other shortcuts of the window still work over the grid.
            auto* k = static_cast<QKeyEvent*>(event);
            const bool editing = k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Cut) ||
                                 k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Undo) ||
                                 k->matches(QKeySequence::Redo) || k->matches(QKeySequence::SelectAll);
            if (editing || !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) event->accept();
            return false;
        }
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (host.focused() != child_) host.setFocus(child_);
            const int16_t vk = virtualKeyOf(k->key());
            const int16_t shift = shiftMaskOf(k->modifiers());
            const int16_t ascii = keyAsciiOf(*k);
            gTabMovedFocus = false;
            if (vk == key::Tab && !(shift & (shiftmask::Ctrl | shiftmask::Alt)) &&
                qh->tabOut(*child_, (shift & shiftmask::Shift) || k->key() == Qt::Key_Backtab)) {
                gTabMovedFocus = true;
                qh->syncViews();
                return true;
            }
            if (vk) host.keyDown(vk, shift);
            if (ascii) host.keyPress(ascii);
            qh->syncViews();
            return true;
        }
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(event);
            const int16_t vk = virtualKeyOf(k->key());
            if (vk == key::Tab && gTabMovedFocus) {
                gTabMovedFocus = false;
                return true;
            }
            if (!k->isAutoRepeat() && vk) host.keyUp(vk, shiftMaskOf(k->modifiers()));
            qh->syncViews();
            return true;
        }
        case QEvent::InputMethod: {
            // An input method's result types its characters as key presses alone, as the headless
            // host's commitText does; what is still being composed shows in the widget (Qt draws it).
            auto* im = static_cast<QInputMethodEvent*>(event);
            if (host.focused() != child_) host.setFocus(child_);
            const QString commit = im->commitString();
            for (const QChar ch : commit) host.keyPress(int16_t(ch.unicode()));
            qh->syncViews();
            if (!commit.isEmpty() || im->preeditString().isEmpty()) {
                // The composition ended: the widget drops its preedit text.
                QInputMethodEvent done;
                forward(watched, done);
            } else {
                QInputMethodEvent preedit(im->preeditString(), im->attributes());
                forward(watched, preedit);
            }
            return true;
        }
        case QEvent::ContextMenu: {
            auto* text = dynamic_cast<TextEditing*>(child_);
            if (!text || !child_->Visible() || !child_->Enabled()) return true;
            if (host.focused() != child_) host.setFocus(child_);
            qh->syncViews();
            auto* menu = makeEditMenu(*text, w, [qh] { qh->syncViews(); });
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(event);
            float x, y;
            point(m, x, y);
            pressed_ = true;
            host.mouseDown(*child_, buttonOf(m->button()), shiftMaskOf(m->modifiers()), x, y);
            qh->syncViews();
            return true;
        }
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(event);
            float x, y;
            point(m, x, y);
            host.mouseMove(*child_, buttonsOf(m->buttons()), shiftMaskOf(m->modifiers()), x, y);
            qh->syncViews();
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(event);
            float x, y;
            point(m, x, y);
            host.mouseUp(*child_, buttonOf(m->button()), shiftMaskOf(m->modifiers()), x, y);
            // A press and release on the same child is a click.
            if (pressed_ && m->button() == Qt::LeftButton && child_->Visible() && child_->Enabled())
                if (auto* t = dynamic_cast<InputTarget*>(child_)) t->click();
            pressed_ = false;
            qh->syncViews();
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            // The second press of a double click: Qt sends this instead of a press.
            auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::LeftButton && child_->Visible() && child_->Enabled())
                if (auto* t = dynamic_cast<InputTarget*>(child_)) t->dblClick();
            pressed_ = false;
            qh->syncViews();
            return true;
        }
        default:
            return false;
    }
}

}  // namespace ax
