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

    // At the pointer, where the person just clicked the notification icon.
    std::optional<int> popupMenu(Handle, const std::vector<MenuItem>& items) override {
        QMenu menu;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].caption == "-") {
                menu.addSeparator();
            } else {
                menu.addAction(toQString(items[i].caption))->setData(static_cast<int>(i));
            }
        }
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
