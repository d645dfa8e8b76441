// What assistive technology reads from the windows: roles, names of values, captions tied to fields.
#include <QAccessible>
#include <QLabel>

#include "support/ui/main_window_fixture.h"

namespace {

class Accessibility : public testing_support::MainWindowFixture {
 protected:
  static QString nameOf(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QString("(no interface)");
  }
  std::vector<QWidget*> secondaryWindows() {
    return {options.get(), listInfo.get(), runMenu.get(), install.get(), command.get(), utils.get(), help.get()};
  }
};

TEST_F(Accessibility, EverySecondaryWindowIsADialog) {
  storeSettings();
  createWindows();
  for (QWidget* window : secondaryWindows()) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(accessible, nullptr) << window->objectName().toStdString();
    EXPECT_EQ(accessible->role(), QAccessible::Dialog) << window->objectName().toStdString();
    EXPECT_EQ(nameOf(window), window->windowTitle()) << window->objectName().toStdString();
  }
}

// A label with a buddy is a caption; any other label shows a value and reads as what it shows.
TEST_F(Accessibility, EveryLabelIsACaptionTiedToItsFieldOrReadsAsItsValue) {
  storeSettings();
  createWindows();
  options->show();  // fills the date of the last update
  form1->ui().setStatusText("Работает утилита: \"Инструмент\"...");
  std::vector<QWidget*> windows = secondaryWindows();
  windows.push_back(form1.get());
  for (QWidget* window : windows) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->buddy()) continue;
      EXPECT_EQ(nameOf(label), label->text())
          << window->objectName().toStdString() << " / " << label->objectName().toStdString();
    }
  }
  EXPECT_EQ(options->findChild<QLabel*>("Label4")->buddy(), options->Label5) << "the caption of the date";
  EXPECT_EQ(nameOf(options->Label5), "неизвестно");
  EXPECT_EQ(nameOf(form1->findChild<QLabel*>("statusbar")), "Работает утилита: \"Инструмент\"...");

  // The name keeps in step with the value.
  form1->ui().setStatusText("");
  EXPECT_EQ(nameOf(form1->findChild<QLabel*>("statusbar")), "");
  options->close();
  form1->program().settings.FilesListDate = "05.03.2003";
  form1->program().WriteRegistry();
  options->show();
  EXPECT_EQ(nameOf(options->Label5), "05.03.2003");
  options->close();
}

}  // namespace
