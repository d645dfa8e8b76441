#include "service/ui/Tcommand.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QValidator>
#include <QVBoxLayout>

#include "app/ui/TForm1.h"
#include "service/texts.h"

using app::ui::q;
using app::ui::s;

namespace {

// Turns whatever reaches the line (typed or pasted) into lower case as it arrives.
class LowerCase final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toLower();
    return Acceptable;
  }
};

}  // namespace

Tcommand::Tcommand(TForm1& main) : ProgramWindow(main, service::texts::kConsoleCaption) {
  setObjectName("Tcommand");
  // A tool window: small caption and the close box only.
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setFixedClientSize(272, 185);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setAccessibleName("Команда");
  Edit1->setValidator(new LowerCase(Edit1));
  Edit1->installEventFilter(this);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName("Вывод команд");
  ListBox1->setFocusPolicy(Qt::NoFocus);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Edit1);
  layout->addWidget(ListBox1, 1);
}

void Tcommand::FormShow() {
  main().ui().setMainWindowEnabled(false);
  main().ui().setStatusText(service::texts::kConsoleStatus);
  Edit1->setFocus();
  Edit1->clear();
  ListBox1->clear();
}

void Tcommand::FormClose() {
  main().ui().setMainWindowEnabled(true);
  main().ui().setStatusText("");
}

bool Tcommand::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Edit1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Edit1KeyDown(key);
      return true;
    }
  }
  return ProgramWindow::eventFilter(watched, event);
}

void Tcommand::Edit1KeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  const std::string line = s(Edit1->text());
  main().guard([&] { service::runCommand(line, main().program(), *this); });
  Edit1->clear();
}

void Tcommand::addLine(const std::string& line) {
  ListBox1->addItem(q(line));
  ListBox1->scrollToBottom();
}

void Tcommand::clearLines() { ListBox1->clear(); }

std::optional<std::string> Tcommand::lastLine() const {
  if (ListBox1->count() == 0) return std::nullopt;
  return s(ListBox1->item(ListBox1->count() - 1)->text());
}

void Tcommand::showVariables() { main().N19Click(); }

void Tcommand::closeConsole() { close(); }

void Tcommand::rerunStartUp() { main().FormCreate(); }

void Tcommand::closeMainWindow() { main().close(); }
