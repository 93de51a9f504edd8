#include "platform/qt/qt_children.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <functional>

#include "platform/automation/convert.h"
#include "platform/controls/headless/check_box.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/image.h"
#include "platform/controls/headless/image_combo.h"
#include "platform/controls/headless/mask_ed_box.h"
#include "platform/controls/headless/text_box.h"
#include "platform/qt/qt_child_base.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_input.h"

namespace ax {

namespace {
std::vector<QtView*>& views() {
    static std::vector<QtView*> v;
    return v;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

// An event filter made of a function, for the inner parts of a widget that need their own handling.
class FunctionFilter : public QObject {
  public:
    FunctionFilter(QObject* parent, std::function<bool(QObject*, QEvent*)> f)
        : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject* o, QEvent* e) override { return f_(o, e); }

  private:
    std::function<bool(QObject*, QEvent*)> f_;
};

QPixmap pixmapOf(const PicturePtr& p) {
    if (!p || p->Width() <= 0 || p->Height() <= 0 ||
        p->pixels().size() < size_t(p->Width()) * size_t(p->Height()))
        return {};
    QImage img(reinterpret_cast<const uchar*>(p->pixels().data()), p->Width(), p->Height(), p->Width() * 4,
               QImage::Format_RGBA8888);
    return QPixmap::fromImage(img.copy());
}

// The pointer over a widget: its own kind's (an I-beam over text) unless the control sets one.
void showPointer(QWidget* w, int32_t pointer, const PicturePtr& icon) {
    if (pointer == 0)
        w->unsetCursor();
    else
        w->setCursor(qtCursor(pointer, icon));
}

// Font and colours of a control whose interface has them.
template <class M>
void applyLook(QWidget* w, const M& m) {
    if constexpr (requires { m.Font(); })
        if (auto f = m.Font()) w->setFont(qtFont(*f));
    if constexpr (requires {
                      m.BackColor();
                      m.ForeColor();
                  }) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, qtColour(m.BackColor()));
        pal.setColor(QPalette::Button, qtColour(m.BackColor()));
        pal.setColor(QPalette::Text, qtColour(m.ForeColor()));
        pal.setColor(QPalette::WindowText, qtColour(m.ForeColor()));
        pal.setColor(QPalette::ButtonText, qtColour(m.ForeColor()));
        w->setPalette(pal);
    }
    if constexpr (requires { m.RightToLeft(); })
        w->setLayoutDirection(m.RightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    if constexpr (requires { m.MousePointer(); }) showPointer(w, m.MousePointer(), m.MouseIcon());
}

void showText(QLineEdit* e, const std::string& text, int32_t selStart, int32_t selLength) {
    const QString t = qs(text);
    if (e->text() != t) e->setText(t);
    if (selLength > 0)
        e->setSelection(selStart, selLength);
    else
        e->setCursorPosition(selStart);
}

// ---------------------------------------------------------------------------------------------

class QtTextBox : public QtChild<HeadlessTextBox, QLineEdit> {
  protected:
    QWidget* makeWidget(QWidget* parent) override { return new QLineEdit(parent); }

  protected:
    void show(QLineEdit* e) override {
        showText(e, Text(), SelStart(), SelLength());
        e->setReadOnly(Locked());
        applyLook(e, *this);
    }
};

class QtMaskEdBox : public QtChild<HeadlessMaskEdBox, QLineEdit> {
  protected:
    // Qt's own input masks follow other rules, so the box is a plain line edit showing the control's text.
    QWidget* makeWidget(QWidget* parent) override { return new QLineEdit(parent); }

  protected:
    void show(QLineEdit* e) override {
        showText(e, Text(), SelStart(), SelLength());
        applyLook(e, *this);
    }
};

// A combo box whose list, when Qt closes it (a click outside, Escape), closes in the control too.
class ListCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> onHidden;
    void hidePopup() override {
        QComboBox::hidePopup();
        if (onHidden) onHidden();
    }
    // Opens or closes the dropped list to match the control's.
    void showDroppedDown(bool droppedDown) {
        const bool open = view()->window()->isVisible();
        if (droppedDown && !open && isVisible())
            showPopup();
        else if (!droppedDown && open)
            hidePopup();
    }
};

// The widget of a list control: its list closing in Qt closes it in the control, and an entry the user
// activates reaches the control as `choose(index)`; neither while the view itself is writing to it.
template <class View>
ListCombo* makeListCombo(QWidget* parent, bool editable, View& view, std::function<void(int)> choose) {
    auto* c = new ListCombo(parent);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->onHidden = [&view] {
        if (!view.syncing()) view.closeUp();
    };
    QObject::connect(c, &QComboBox::activated, [&view, choose = std::move(choose)](int index) {
        if (view.syncing() || index < 0) return;
        choose(index);
        if (auto* h = QtHost::hostOf(view.container())) h->syncViews();
    });
    return c;
}

class QtComboBox : public QtChild<HeadlessComboBox, ListCombo> {
  public:
    using QtChild::QtChild;

  protected:
    QWidget* makeWidget(QWidget* parent) override {
        return makeListCombo(parent, style() == Style::DropDownCombo, *this, [this](int index) {
            if (index < ListCount()) chooseByMouse(index);
        });
    }

  protected:
    void show(ListCombo* c) override {
        bool same = c->count() == ListCount();
        for (int i = 0; same && i < c->count(); ++i) same = c->itemText(i) == qs(List(i));
        if (!same) {
            c->clear();
            for (int i = 0; i < ListCount(); ++i) c->addItem(qs(List(i)));
        }
        c->setCurrentIndex(ListIndex());
        if (c->isEditable()) {
            showText(c->lineEdit(), Text(), SelStart(), SelLength());
            c->lineEdit()->setReadOnly(Locked());
        }
        applyLook(c, *this);
        c->showDroppedDown(DroppedDown());
    }
};

class QtImageCombo : public QtChild<HeadlessImageCombo, ListCombo> {
  protected:
    QWidget* makeWidget(QWidget* parent) override {
        // Entries count from 1 in the control.
        return makeListCombo(parent, true, *this, [this](int index) {
            if (index < ComboItems()->Count()) chooseByMouse(index + 1);
        });
    }

  protected:
    void show(ListCombo* c) override {
        const auto items = ComboItems();
        const auto images = ImageList();
        int selected = -1;
        const auto sel = SelectedItem();
        std::vector<Entry> entries;
        for (int32_t i = 1; i <= items->Count(); ++i) {
            auto item = items->Item(Variant(int32_t(i)));
            // An image that is missing from the list just leaves the entry without one.
            PicturePtr picture;
            if (images && !item->Image().isEmpty()) picture = images->pictureOf(item->Image());
            entries.push_back({QString(item->Indentation() * 2, ' ') + qs(item->Text()), picture});
            if (item == sel) selected = i - 1;
        }
        // Refilled only when the entries changed: refilling a dropped list would empty it on screen.
        if (entries != shown_) {
            c->clear();
            for (const Entry& e : entries) c->addItem(QIcon(pixmapOf(e.picture)), e.text);
            shown_ = std::move(entries);
        }
        c->setCurrentIndex(selected);
        showText(c->lineEdit(), Text(), SelStart(), SelLength());
        c->lineEdit()->setReadOnly(Locked());
        applyLook(c, *this);
        c->showDroppedDown(DroppedDown());
    }

  private:
    struct Entry {
        QString text;
        PicturePtr picture;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> shown_;  // what the widget's list holds now
};

class QtCheckBox : public QtChild<HeadlessCheckBox, QCheckBox> {
  protected:
    QWidget* makeWidget(QWidget* parent) override {
        auto* b = new QCheckBox(parent);
        b->setTristate(true);
        return b;
    }

  protected:
    void show(QCheckBox* b) override {
        b->setCheckState(Value() == Checked  ? Qt::Checked
                         : Value() == Grayed ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
        b->setText(qs(Caption()));
        applyLook(b, *this);
    }
};

class QtFlatScrollBar : public QtChild<HeadlessFlatScrollBar, QScrollBar> {
  public:
    // The bar's own lets, heard here: a program moving the bar shows at once.
    void setMin(int16_t v) override {
        HeadlessFlatScrollBar::setMin(v);
        changed();
    }
    void setMax(int16_t v) override {
        HeadlessFlatScrollBar::setMax(v);
        changed();
    }
    void setValue(int16_t v) override {
        HeadlessFlatScrollBar::setValue(v);
        changed();
    }
    void setSmallChange(int16_t v) override {
        HeadlessFlatScrollBar::setSmallChange(v);
        changed();
    }
    void setLargeChange(int16_t v) override {
        HeadlessFlatScrollBar::setLargeChange(v);
        changed();
    }
    void setArrows(int16_t v) override {
        HeadlessFlatScrollBar::setArrows(v);
        changed();
    }
    void setOrientation(Orientation o) override {
        HeadlessFlatScrollBar::setOrientation(o);
        changed();
    }
    void clickPart(Part part) override {
        HeadlessFlatScrollBar::clickPart(part);
        changed();
    }

  protected:
    QWidget* makeWidget(QWidget* parent) override { return new QScrollBar(parent); }

  protected:
    void show(QScrollBar* b) override {
        b->setOrientation(orientation() == Orientation::Horizontal ? Qt::Horizontal : Qt::Vertical);
        b->setRange(std::min(Min(), Max()), std::max(Min(), Max()));
        b->setInvertedAppearance(Min() > Max());
        b->setSingleStep(SmallChange());
        b->setPageStep(LargeChange());
        b->setValue(Value());
        // A bar without a tab stop (the spin arrows) must not take Qt's focus on a click either.
        b->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::NoFocus);
    }
};

class QtDTPicker : public QtChild<HeadlessDTPicker> {
  protected:
    QWidget* makeWidget(QWidget* parent) override {
        auto* box = new QWidget(parent);
        box->setAutoFillBackground(true);
        auto* layout = new QHBoxLayout(box);
        // The picker is exactly as big as the control says: its parts shrink into it rather than
        // pushing it past its cell, and the check box keeps a little room from the date.
        layout->setSizeConstraint(QLayout::SetNoConstraint);
        layout->setContentsMargins(3, 0, 0, 0);
        layout->setSpacing(4);
        check_ = new QCheckBox(box);
        check_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        edit_ = new QDateTimeEdit(box);
        edit_->setButtonSymbols(QAbstractSpinBox::NoButtons);
        edit_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        edit_->setMinimumSize(0, 0);
        layout->addWidget(check_, 0, Qt::AlignVCenter);
        layout->addWidget(edit_, 1);
        // The calendar the control drops down, shown while it is down.
        calendar_ = new QCalendarWidget(box);
        calendar_->setWindowFlags(Qt::Popup);
        QObject::connect(calendar_, &QCalendarWidget::clicked, [this](QDate d) {
            if (syncing_) return;
            chooseFromCalendar(toAutomationDate(CivilDateTime{d.year(), d.month(), d.day(), 0, 0, 0}));
            if (auto* h = QtHost::hostOf(container())) h->syncViews();
        });
        // The check box is the control's own part: a click on it goes to the control.
        check_->installEventFilter(new FunctionFilter(check_, [this](QObject*, QEvent* e) {
            if (e->type() == QEvent::MouseButtonRelease) {
                if (Visible() && Enabled()) clickCheckBox();
                if (auto* h = QtHost::hostOf(container())) h->syncViews();
                return true;
            }
            return e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
        }));
        return box;
    }

  protected:
    void show(QWidget*) override {
        check_->setVisible(CheckBox());
        const Variant v = Value();
        const bool has = !v.isNull() && !v.isEmpty();
        check_->setChecked(has);
        edit_->setEnabled(has || !CheckBox());
        switch (Format()) {
            case 0:
                edit_->setDisplayFormat("dddd, MMMM d, yyyy");
                break;
            case 2:
                edit_->setDisplayFormat("h:mm:ss AP");
                break;
            case 3:
                edit_->setDisplayFormat(CustomFormat().empty() ? QString("M/d/yyyy") : qs(CustomFormat()));
                break;
            default:
                edit_->setDisplayFormat("M/d/yyyy");
                break;
        }
        if (has) {
            const CivilDateTime c = toCivil(cDate(v));
            edit_->setDateTime(QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second)));
            calendar_->setSelectedDate(QDate(c.year, c.month, c.day));
        }
        applyLook(edit_, *this);
        if (DroppedDown() && !calendar_->isVisible() && widget_->isVisible()) {
            calendar_->move(widget_->mapToGlobal(QPoint(0, widget_->height())));
            calendar_->show();
        } else if (!DroppedDown() && calendar_->isVisible()) {
            calendar_->hide();
        }
    }

  private:
    QCheckBox* check_ = nullptr;
    QDateTimeEdit* edit_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

QtView::QtView() { views().push_back(this); }

void QtView::requestSync() {
    pending_ = true;
    if (QtHost* h = QtHost::hostOf(child().container())) h->requestSync();
}

QtView::~QtView() {
    views().erase(std::remove(views().begin(), views().end(), this), views().end());
    delete widget_.data();
}

const std::vector<QtView*>& liveViews() { return views(); }

QWidget* widgetOf(const Child& child) {
    for (QtView* v : views())
        if (&v->child() == &child) return v->widget();
    return nullptr;
}

void giveQtFocus(const Child& child) {
    QWidget* w = widgetOf(child);
    if (!w || !w->isVisible() || w->hasFocus()) return;
    gHostMovingFocus = true;
    w->setFocus(Qt::OtherFocusReason);
    gHostMovingFocus = false;
}

bool QtView::ensureWidget() {
    if (widget_) return true;
    QWidget* parent = QtHost::surfaceOf(child().container());
    if (!parent) return false;
    widget_ = makeWidget(parent);
    installInput();
    widget_->setFocusPolicy(child().canFocus() ? Qt::StrongFocus : Qt::NoFocus);
    placeWidget();
    return true;
}

void QtView::installInput() {
    // Keys, mouse and focus on the widget or any part of it go to the control.
    auto* filter = new ChildInputFilter(&child(), widget_);
    widget_->installEventFilter(filter);
    // Parts inside a window of their own (a combo box's dropped list and everything in it) keep Qt's
    // handling: a click on a list entry must choose it, not reach the control as a click on the box.
    for (QWidget* inner : widget_->findChildren<QWidget*>())
        if (inner->window() == widget_->window()) inner->installEventFilter(filter);
}

void QtView::placeWidget() {
    if (!widget_) return;
    const Child& c = child();
    QRect r = pixelRect(c.container(), c.Left(), c.Top(), c.Width(), c.Height());
    // A combo box keeps the height its font gives it when its owner leaves the height at nothing,
    // as desktop combo boxes do.
    if (r.height() <= 0 && qobject_cast<QComboBox*>(widget_.data()))
        r.setHeight(widget_->sizeHint().height());
    widget_->setGeometry(r);
    widget_->setEnabled(c.Enabled());
    widget_->setVisible(c.Visible());
}

ChildPtr QtChildFactory::create(ChildKind kind) {
    switch (kind) {
        case ChildKind::FlexGrid:
            return std::make_shared<QtFlexGrid>();
        case ChildKind::TextBox:
            return std::make_shared<QtTextBox>();
        case ChildKind::MaskEdBox:
            return std::make_shared<QtMaskEdBox>();
        case ChildKind::ComboDropDownCombo:
            return std::make_shared<QtComboBox>(ComboBox::Style::DropDownCombo);
        case ChildKind::ComboDropDownList:
            return std::make_shared<QtComboBox>(ComboBox::Style::DropDownList);
        case ChildKind::ImageCombo:
            return std::make_shared<QtImageCombo>();
        case ChildKind::CheckBox:
            return std::make_shared<QtCheckBox>();
        case ChildKind::DTPicker:
            return std::make_shared<QtDTPicker>();
        case ChildKind::Image:
            return std::make_shared<HeadlessImage>();  // an image child is never shown
        case ChildKind::FlatScrollBar:
            return std::make_shared<QtFlatScrollBar>();
    }
    return nullptr;
}

}  // namespace ax
