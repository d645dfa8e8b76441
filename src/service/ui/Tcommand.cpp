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
    input = app::ui::q(service::lowerCaseCommand(app::ui::s(input)));
    return Acceptable;
  }
};

}  // namespace

Tcommand::Tcommand(TForm1& main)
    : ProgramWindow(main, service::texts::kConsoleCaption),
      presenter_(std::make_unique<service::ConsolePresenter>(main.program(), static_cast<ConsoleView&>(*this))) {
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

  connect(Edit1, &QLineEdit::textChanged, this,
          [this](const QString& text) { guardedCall([&] { presenter_->Edit1Change(s(text)); }); });
}

Tcommand::~Tcommand() = default;

void Tcommand::FormShow() { presenter_->FormShow(); }

void Tcommand::FormClose() { presenter_->FormClose(); }

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
  const int code = key == Qt::Key_Return || key == Qt::Key_Enter ? service::kEnterKey : 0;
  main().guard([&] { presenter_->Edit1KeyDown(code); });
}

void Tcommand::setCommandText(const std::string& text) { Edit1->setText(q(text)); }

std::string Tcommand::commandText() { return s(Edit1->text()); }

void Tcommand::focusCommandLine() { Edit1->setFocus(); }

void Tcommand::addLine(const std::string& line) {
  ListBox1->addItem(q(line));
  ListBox1->scrollToBottom();
}

void Tcommand::clearLines() { ListBox1->clear(); }

void Tcommand::closeWindow() { close(); }

void Tcommand::rerunStartUp() { main().FormCreate(); }

void Tcommand::closeMainWindow() { main().close(); }
