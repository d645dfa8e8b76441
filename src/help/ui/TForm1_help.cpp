// The main window's links menu and "?" menu.
#include <QMenu>

#include "app/ui/TForm1.h"
#include "help/help_presenter.h"
#include "help/menus.h"
#include "help/ui/THelp.h"

using app::ui::q;

namespace {

// Builds a menu from its items: links open their address, commands run the main window's handler.
void fillMenu(TForm1& form, QMenu* menu, const std::vector<help::MenuItem>& items,
               const std::function<void(const std::string&)>& command) {
  using Kind = help::MenuItem::Kind;
  QMenu* in = menu;
  for (const help::MenuItem& item : items) {
    if (item.kind == Kind::EndSubmenu) {
      in = menu;
      continue;
    }
    if (item.kind == Kind::Separator) {
      in->addSeparator()->setObjectName(q(item.name));
      continue;
    }
    if (item.kind == Kind::Submenu) {
      in = menu->addMenu(q(item.caption));
      in->menuAction()->setObjectName(q(item.name));
      continue;
    }
    QAction* action = in->addAction(q(item.caption));
    action->setObjectName(q(item.name));
    if (!item.hint.empty()) {
      in->setToolTipsVisible(true);
      action->setStatusTip(q(item.hint));
      action->setToolTip(q(item.hint));
    }
    const std::string name = item.name;
    const std::string address = item.address;
    QObject::connect(action, &QAction::triggered, &form, [&form, command, name, address, kind = item.kind] {
      form.guard([&] {
        if (kind == Kind::Link) help::openWebAddress(form.program(), address);
        if (kind == Kind::Command) command(name);
      });
    });
  }
}

}  // namespace

void TForm1::buildLinksMenu(QMenu* menu) {
  fillMenu(*this, menu, help::linksMenu(), [this](const std::string& name) {
    if (name == "N26") N26Click();
  });
}

void TForm1::buildHelpMenu(QMenu* menu) {
  fillMenu(*this, menu, help::helpMenu(), [this](const std::string& name) {
    if (name == "N34") N34Click();
    if (name == "N27") N27Click();
    if (name == "N29") N29Click();
    if (name == "N31") N31Click();
    if (name == "N30") N30Click();
  });
}

void TForm1::N34Click() {
  if (windows_.help) windows_.help->presenter().N34Click();
}

void TForm1::Button4Click() {
  guard([this] {
    if (windows_.help) windows_.help->presenter().Button4Click();
  });
}

void TForm1::N27Click() { help::N27Click(ui_); }

void TForm1::N26Click() { help::N26Click(ui_); }

void TForm1::N29Click() { help::N29Click(*program_); }

void TForm1::N31Click() { help::N31Click(*program_); }

void TForm1::N30Click() { help::N30Click(*program_, updateCheckStep); }

void TForm1::openWebAddress(const std::string& address) { help::openWebAddress(*program_, address); }
