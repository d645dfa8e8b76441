#pragma once

#include <memory>

#include "app/ui/ProgramWindow.h"
#include "catalogue/list_info_presenter.h"

class QLineEdit;
class QPushButton;

// The file info dialog "Информация" (catalogue::ListInfoPresenter does what it does).
class TListInfo final : public app::ui::ProgramWindow, private catalogue::ListInfoView {
  Q_OBJECT

 public:
  explicit TListInfo(TForm1& main);
  ~TListInfo() override;

  // Puts the row's three texts into the fields and shows the dialog.
  void showFor(const QString& file, const QString& path, const QString& description);

  void Button1Click();  // "OK": closes
  void Button2Click();  // "Запустить": starts the main grid's current-row file; the dialog stays
  void Edit1MouseMove();
  void Edit2MouseMove();
  void Edit3MouseMove();

  QLineEdit* Edit1 = nullptr;  // file name
  QLineEdit* Edit2 = nullptr;  // path
  QLineEdit* Edit3 = nullptr;  // description
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The view of the presenter.
  void setFieldText(Field field, const std::string& text) override;
  std::string fieldText(Field field) const override;
  void setFieldHint(Field field, const std::string& hint) override;
  void showWindow() override;
  void closeWindow() override;
  void launchCurrentFile() override;
  QLineEdit* field(Field field) const;

  QLineEdit* addField(const char* name, const char* label, int top);
  std::unique_ptr<catalogue::ListInfoPresenter> presenter_;
};
