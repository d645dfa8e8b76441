#include "app/ui/QtUi.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace app::ui {

void QtUi::attach(QWidget* mainWindow, QLabel* statusLine) {
  mainWindow_ = mainWindow;
  statusLine_ = statusLine;
}

QWidget* QtUi::dialogParent() const {
  QWidget* active = QApplication::activeWindow();
  return active ? active : mainWindow_;
}

Answer QtUi::messageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) {
  if (prompts_) return prompts_->messageBox(caption, text, icon, buttons);
  QMessageBox box(dialogParent());
  box.setWindowTitle(q(caption));
  box.setText(q(text));
  switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
  }
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int result = box.exec();
  if (buttons == Buttons::Ok) return Answer::Ok;
  return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<std::string> QtUi::inputBox(const std::string& caption, const std::string& prompt,
                                          const std::string& value) {
  if (prompts_) return prompts_->inputBox(caption, prompt, value);
  QInputDialog dialog(dialogParent());
  dialog.setWindowTitle(q(caption));
  dialog.setLabelText(q(prompt));
  dialog.setTextValue(q(value));
  dialog.setInputMode(QInputDialog::TextInput);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return s(dialog.textValue());
}

std::vector<std::string> QtUi::chooseFiles(const FileRequest& request) {
  if (prompts_) return prompts_->chooseFiles(request);
  QStringList filters;
  for (const auto& [name, pattern] : request.filters) filters << q(name) + " (" + q(pattern) + ")";
  const QString filter = filters.join(";;");
  QStringList chosen;
  if (request.multiple) {
    chosen = QFileDialog::getOpenFileNames(dialogParent(), q(request.title), q(request.initialFolder), filter);
  } else {
    const QString one = QFileDialog::getOpenFileName(dialogParent(), q(request.title), q(request.initialFolder), filter);
    if (!one.isEmpty()) chosen << one;
  }
  std::vector<std::string> out;
  for (const QString& file : chosen) out.push_back(s(QDir::toNativeSeparators(file)));
  return out;
}

std::optional<std::string> QtUi::chooseFolder(const std::string& caption, const std::string& prompt,
                                             const std::string& initialFolder) {
  if (prompts_) return prompts_->chooseFolder(caption, prompt, initialFolder);
  QFileDialog dialog(dialogParent(), q(caption), q(initialFolder));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  if (!prompt.empty()) dialog.setLabelText(QFileDialog::LookIn, q(prompt));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString folder = dialog.selectedFiles().first();
  // Only a real folder of the file system counts; anything else is a cancel.
  if (!QFileInfo(folder).isDir()) return std::nullopt;
  return s(QDir::toNativeSeparators(folder));
}

void QtUi::processEvents() { QCoreApplication::processEvents(); }

void QtUi::setStatusText(const std::string& text) {
  if (statusLine_) statusLine_->setText(q(text));
}

void QtUi::setBusy(bool busy) {
  if (state_.setBusy(busy)) showHourglass(busy);
  updateMainWindow();
}

void QtUi::setMainWindowEnabled(bool enabled) {
  state_.setHeld(!enabled);
  updateMainWindow();
}

void QtUi::releaseMainWindow() {
  if (state_.release()) showHourglass(false);
  updateMainWindow();
}

void QtUi::showHourglass(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtUi::updateMainWindow() {
  if (!mainWindow_) return;
  mainWindow_->setEnabled(state_.enabled(dialogsOpen_ && dialogsOpen_()));
}

void QtUi::focusMainWindow() {
  if (!mainWindow_) return;
  mainWindow_->activateWindow();
  mainWindow_->raise();
  // The control that had the focus gets it back with the activation; only a window without one takes it.
  if (!mainWindow_->focusWidget()) mainWindow_->setFocus();
}

}  // namespace app::ui
