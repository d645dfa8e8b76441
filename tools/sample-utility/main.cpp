// A sample utility for Varnikit.
//
//   sample-utility setup     writes "setup.dat" beside its own program file and ends;
//   sample-utility varnikit  shows a window titled with its name until the window is closed.
//
// See docs/utilities.md for the whole protocol. Two environment variables exist for automated tests:
// VARNIKIT_SAMPLE_NAME replaces the name (so tests running side by side do not see each other's windows),
// VARNIKIT_SAMPLE_CLOSE_AFTER_MS closes the window by itself after that many milliseconds.
#include <QApplication>
#include <QByteArray>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// The name in the Utilities menu, and the exact title of the window while the utility works.
QString utilityName() {
  const QString name = qEnvironmentVariable("VARNIKIT_SAMPLE_NAME");
  return name.isEmpty() ? QStringLiteral("Пример утилиты") : name;
}

// The folder the program gives the utility under its "utilities" folder: one plain folder name.
const char* const kFolderName = "sample-utility";

// Varnikit reads its data files in the Windows Cyrillic code page: Latin letters, digits and punctuation
// as they are, Russian letters in the upper half. Anything else cannot be said in that code page.
QByteArray toCp1251(const QString& text, bool* ok) {
  QByteArray bytes;
  *ok = true;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
      bytes += static_cast<char>(u);
    } else if (u >= 0x0410 && u <= 0x044F) {
      bytes += static_cast<char>(0xC0 + (u - 0x0410));
    } else if (u == 0x0401) {
      bytes += static_cast<char>(0xA8);
    } else if (u == 0x0451) {
      bytes += static_cast<char>(0xB8);
    } else {
      *ok = false;
    }
  }
  return bytes;
}

// The answer to "setup": line 1 the name, line 2 the folder name, each ended by CR LF. QSaveFile writes a
// temporary file and renames it, so the program never finds half an answer.
int writeSetupFile() {
  bool ok = false;
  const QByteArray name = toCp1251(utilityName(), &ok);
  if (!ok) return 2;
  QSaveFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/setup.dat"));
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(name + "\r\n" + kFolderName + "\r\n");
  return file.commit() ? 0 : 1;
}

int showWindow() {
  QWidget window;
  window.setWindowTitle(utilityName());  // exactly the name: this is how the program sees the utility
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Утилита работает. Пока это окно открыто,\n"
                                              "главное окно программы ждёт."), &window));
  auto* close = new QPushButton(QStringLiteral("Закрыть"), &window);
  QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);
  layout->addWidget(close);
  window.show();

  bool isNumber = false;
  const int closeAfter = qEnvironmentVariableIntValue("VARNIKIT_SAMPLE_CLOSE_AFTER_MS", &isNumber);
  if (isNumber && closeAfter >= 0) QTimer::singleShot(closeAfter, &window, &QWidget::close);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  const QByteArray mode = argc == 2 ? QByteArray(argv[1]) : QByteArray();
  if (mode == "setup") {
    // Started hidden: no window, so no display is needed either.
    QCoreApplication application(argc, argv);
    return writeSetupFile();
  }
  if (mode == "varnikit") {
    QApplication application(argc, argv);
    return showWindow();
  }
  return 3;  // started some other way: a utility works only from the program
}
