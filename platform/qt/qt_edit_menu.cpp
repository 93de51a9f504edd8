#include "platform/qt/qt_edit_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "platform/controls/text_editing.h"

namespace ax {

QMenu* makeEditMenu(TextEditing& text, QWidget* parent, std::function<void()> done) {
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto add = [&](const QString& label, QKeySequence::StandardKey keys, bool enabled,
                   void (TextEditing::*run)()) {
        QAction* a = menu->addAction(label);
        a->setShortcut(QKeySequence(keys));
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, menu, [&text, run, done] {
            (text.*run)();
            if (done) done();
        });
        return a;
    };
    const bool writable = !text.readOnly();
    add(QMenu::tr("&Undo"), QKeySequence::Undo, text.canUndo(), &TextEditing::undo);
    add(QMenu::tr("&Redo"), QKeySequence::Redo, text.canRedo(), &TextEditing::redo);
    menu->addSeparator();
    add(QMenu::tr("Cu&t"), QKeySequence::Cut, text.canCut(), &TextEditing::cut);
    add(QMenu::tr("&Copy"), QKeySequence::Copy, text.hasSelection(), &TextEditing::copy);
    add(QMenu::tr("&Paste"), QKeySequence::Paste, writable, &TextEditing::paste);
    add(QMenu::tr("Delete"), QKeySequence::Delete, writable && text.canCut(), &TextEditing::deleteSelection);
    menu->addSeparator();
    add(QMenu::tr("Select All"), QKeySequence::SelectAll, true, &TextEditing::selectAll);
    return menu;
}

}  // namespace ax
