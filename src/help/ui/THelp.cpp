#include "help/ui/THelp.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>

#include "app/ui/TForm1.h"
#include "help/texts.h"

using app::ui::q;

namespace {

QFont pixelFont(const QFont& base, int pixels) {
  QFont font(base);
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

THelp::THelp(TForm1& main)
    : ProgramWindow(main, help::kHelpCaption),
      presenter_(std::make_unique<help::HelpPresenter>(main.program(), static_cast<HelpView&>(*this))) {
  setObjectName("THelp");

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName("Разделы помощи");
  ListBox1->setFixedWidth(177);
  ListBox1->setFont(pixelFont(ListBox1->font(), 16));
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->installEventFilter(this);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setAccessibleName("Текст раздела");
  Memo1->setFont(pixelFont(Memo1->font(), 13));
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ListBox1);
  layout->addWidget(Memo1, 1);

  presenter_->FormCreate();
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
    guardedCall([this] {
      const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
      presenter_->ListBox1Click(selected.isEmpty() ? -1 : ListBox1->row(selected.first()));
    });
  });

  // Resizable, 565 x 345 to begin with, centred on the screen; it keeps its size and place between showings.
  resize(565, 345);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QPoint(565 / 2, 345 / 2));
  }
}

THelp::~THelp() = default;

void THelp::FormShow() { presenter_->FormShow(); }

bool THelp::eventFilter(QObject* watched, QEvent* event) {
  // Taking the focus, a list marks its first row as current although nothing is selected: a topic would
  // look chosen with no text beside it. The list handles the focus first, then loses that mark again.
  if (watched == ListBox1 && event->type() == QEvent::FocusIn) {
    static_cast<QObject*>(ListBox1)->event(event);
    if (ListBox1->selectedItems().isEmpty()) ListBox1->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
    return true;
  }
  return ProgramWindow::eventFilter(watched, event);
}

void THelp::showTopics(const std::vector<std::string>& titles) {
  ListBox1->clear();
  for (const std::string& title : titles) {
    auto* item = new QListWidgetItem(q(title), ListBox1);
    item->setSizeHint(QSize(ListBox1->fontMetrics().horizontalAdvance(q(title)) + 8, 20));
  }
}

void THelp::selectTopic(int topic) {
  if (topic < 0) {
    ListBox1->clearSelection();
    ListBox1->setCurrentItem(nullptr);
    return;
  }
  ListBox1->setCurrentRow(topic);
}

void THelp::setText(const std::string& text) {
  QString shown = q(text);
  shown.replace("\r\n", "\n");
  Memo1->setPlainText(shown);
}

void THelp::showWindow() {
  show();
  raise();
  activateWindow();
}
