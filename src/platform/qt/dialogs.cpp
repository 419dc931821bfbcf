// The popup menu and the message box on Qt: both modal, both back once the
// person has answered.
#include <QCursor>
#include <QMenu>
#include <QMessageBox>

#include "platform/qt/state.h"
#include "platform/winapi.h"

namespace velmora::platform::qt {

namespace {

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(State& state) : s_(state) {}

    // Each item carries its number, depth first; a submenu belongs to its parent.
    static void fill(QMenu& menu, const std::vector<MenuItem>& items, int& next) {
        for (const MenuItem& item : items) {
            const int number = next++;
            if (item.caption == "-") {
                menu.addSeparator();
            } else if (!item.items.empty()) {
                fill(*menu.addMenu(toQString(item.caption)), item.items, next);
            } else {
                QAction* action = menu.addAction(toQString(item.caption));
                action->setData(number);
                action->setCheckable(item.checked);
                action->setChecked(item.checked);
            }
        }
    }

    // At the pointer, where the person just clicked the notification icon.
    std::optional<int> popupMenu(Handle, const std::vector<MenuItem>& items) override {
        QMenu menu;
        int next = 0;
        fill(menu, items, next);
        const QAction* chosen = menu.exec(QCursor::pos());
        if (chosen == nullptr) return std::nullopt;
        return chosen->data().toInt();
    }

    int messageBox(Handle owner, const std::string& text, const std::string& title) override {
        QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok, s_.window(owner));
        // Shown as written, never read as markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return win::IDOK;
    }

private:
    State& s_;
};

}  // namespace

std::unique_ptr<Dialogs> makeDialogs(State& state) { return std::make_unique<QtDialogs>(state); }

}  // namespace velmora::platform::qt
