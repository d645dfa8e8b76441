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

THelp::THelp(TForm1& main) : ProgramWindow(main, help::kHelpCaption) {
  setObjectName("THelp");

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName("Разделы помощи");
  ListBox1->setFixedWidth(177);
  ListBox1->setFont(pixelFont(ListBox1->font(), 16));
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& title : help::topicTitles()) {
    auto* item = new QListWidgetItem(q(title), ListBox1);
    item->setSizeHint(QSize(ListBox1->fontMetrics().horizontalAdvance(q(title)) + 8, 20));
  }

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

  connect(ListBox1, &QListWidget::itemSelectionChanged, this, guarded(&THelp::ListBox1Click));

  // Resizable, 565 x 345 to begin with, centred on the screen; it keeps its size and place between showings.
  resize(565, 345);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QPoint(565 / 2, 345 / 2));
  }
}

void THelp::FormShow() {
  Memo1->clear();
  ListBox1->clearSelection();
  ListBox1->setCurrentItem(nullptr);
}

void THelp::ListBox1Click() {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  if (selected.isEmpty()) return;
  QString text = q(help::topicText(ListBox1->row(selected.first())));
  text.replace("\r\n", "\n");
  Memo1->setPlainText(text);
}

void THelp::selectTopic(int topic) {
  ListBox1->setCurrentRow(topic);
  ListBox1Click();
}
