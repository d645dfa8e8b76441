// The main window's Run and Utilities menus.
#include <QMenu>

#include "app/ui/TForm1.h"
#include "launchers/menus_presenter.h"
#include "launchers/ui/TRunMenu.h"
#include "launchers/ui/Tutils.h"

using app::ui::q;

namespace {

// The two menus of the main window as their presenter sees them.
class MenusBinding final : public launchers::MenusView {
 public:
  explicit MenusBinding(TForm1& form) : form_(form) {}
  void showMenuItem(Menu menu, int item, bool visible, const std::string& caption) override {
    QAction* action = (menu == Menu::Run ? form_.Run : form_.util)[static_cast<std::size_t>(item - 1)];
    action->setVisible(visible);
    if (visible) action->setText(q(caption));
  }
  void showRunMenuEditor() override {
    if (form_.windows().runMenu) form_.windows().runMenu->show();
  }
  void showUtilitiesManager() override {
    if (form_.windows().utils) form_.windows().utils->show();
  }

 private:
  TForm1& form_;
};

// The menus' handlers, run on a presenter made for the call: it keeps no state of its own.
template <class Handler>
void withMenus(TForm1& form, Handler handler) {
  MenusBinding view(form);
  launchers::MenusPresenter presenter(form.program(), view);
  handler(presenter);
}

}  // namespace

void TForm1::buildUtilitiesMenu(QMenu* menu) {
  for (int k = 1; k <= 10; ++k) {
    util[k - 1] = menu->addAction(QString());
    util[k - 1]->setObjectName(QString("util%1").arg(k));
    connect(util[k - 1], &QAction::triggered, this, [this, k] { guard([this, k] { RunUtil(k); }); });
  }
  menu->addSeparator()->setObjectName("N12");
  addItem(menu, "N13", "Настройка", &TForm1::N13Click);
}

void TForm1::buildRunMenu(QMenu* menu) {
  for (int k = 1; k <= 10; ++k) {
    Run[k - 1] = menu->addAction(QString());
    Run[k - 1]->setObjectName(QString("Run%1").arg(k));
    connect(Run[k - 1], &QAction::triggered, this, [this, k] { guard([this, k] { RunClick(k); }); });
  }
  menu->addSeparator()->setObjectName("N14");
  addItem(menu, "N15", "Настройка", &TForm1::N15Click);
}

void TForm1::MainMenu1Change() {
  withMenus(*this, [](launchers::MenusPresenter& menus) { menus.MainMenu1Change(); });
}

void TForm1::RunClick(int entry) {
  withMenus(*this, [entry](launchers::MenusPresenter& menus) { menus.RunClick(entry); });
}

void TForm1::RunUtil(int slot) {
  withMenus(*this, [this, slot](launchers::MenusPresenter& menus) { menus.RunUtil(slot, utilityTimeout); });
}

void TForm1::N13Click() {
  withMenus(*this, [](launchers::MenusPresenter& menus) { menus.N13Click(); });
}

void TForm1::N15Click() {
  withMenus(*this, [](launchers::MenusPresenter& menus) { menus.N15Click(); });
}
