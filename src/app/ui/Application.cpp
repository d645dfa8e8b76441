#include "app/ui/Application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/program.h"

namespace app::ui {

void setUpApplication() {
  QApplication::setApplicationName(kApplicationTitle);
  auto* translations = new QTranslator(qApp);
  if (translations->load(QLocale(QLocale::Russian), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translations);
  } else {
    delete translations;
  }
}

}  // namespace app::ui
