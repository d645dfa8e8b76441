#include "catalogue/list_info_presenter.h"

namespace catalogue {

void ListInfoPresenter::showFor(const std::string& file, const std::string& path, const std::string& description) {
  view_.setFieldText(Field::File, file);
  view_.setFieldText(Field::Path, path);
  view_.setFieldText(Field::Description, description);
  view_.showWindow();
}

void ListInfoPresenter::FormShow() { program_.ui().setMainWindowEnabled(false); }

void ListInfoPresenter::FormClose() { program_.ui().setMainWindowEnabled(true); }

void ListInfoPresenter::Button1Click() { view_.closeWindow(); }

void ListInfoPresenter::Button2Click() { view_.launchCurrentFile(); }

void ListInfoPresenter::EditMouseMove(Field field) { view_.setFieldHint(field, view_.fieldText(field)); }

}  // namespace catalogue
