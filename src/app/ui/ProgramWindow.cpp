#include "app/ui/ProgramWindow.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "app/ui/TForm1.h"

namespace app::ui {

namespace {

// A plain top-level widget reads as a "filler" to assistive technology; the program's secondary windows
// are dialogs, and say so.
QAccessibleInterface* dialogAccessible(const QString&, QObject* object) {
  auto* window = qobject_cast<ProgramWindow*>(object);
  return window ? new QAccessibleWidget(window, QAccessible::Dialog) : nullptr;
}

}  // namespace

ProgramWindow::ProgramWindow(TForm1& main, const QString& caption)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      main_(main) {
  static const bool dialogRole = (QAccessible::installFactory(&dialogAccessible), true);
  (void)dialogRole;
  setWindowTitle(caption);
  setAccessibleName(caption);
  main_.registerSecondaryWindow(this);
}

ProgramWindow::~ProgramWindow() { main_.unregisterSecondaryWindow(this); }

void ProgramWindow::setFixedClientSize(int width, int height) {
  setFixedSize(width, height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width / 2, height / 2));
  }
}

void ProgramWindow::setDefaultButton(QPushButton* button) {
  if (defaultButton_) defaultButton_->setDefault(false);
  defaultButton_ = button;
  if (button) button->setDefault(true);
}

void ProgramWindow::keyPressEvent(QKeyEvent* event) {
  // Keys reach the window only when the focused control left them: a list or a one-line field passes
  // Enter and Esc on, a multi-line field keeps Enter for a new line.
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    switch (event->key()) {
      case Qt::Key_Escape:
        close();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (defaultButton_ && defaultButton_->isVisible() && defaultButton_->isEnabled()) {
          defaultButton_->click();
          return;
        }
        break;
      default:
        break;
    }
  }
  QWidget::keyPressEvent(event);
}

void ProgramWindow::guardedCall(const std::function<void()>& handler) { main_.guard(handler); }

void ProgramWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (windowHandle() && main_.windowHandle()) windowHandle()->setTransientParent(main_.windowHandle());
  main_.guard([this] { FormShow(); });
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    main_.guard([this] { FormClose(); });
    closing_ = false;
  }
  event->accept();
}

void ProgramWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (event->spontaneous()) return;
  main_.guard([this] { FormHide(); });
  main_.secondaryWindowHidden(this);
}

}  // namespace app::ui
