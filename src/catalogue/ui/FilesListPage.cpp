#include "catalogue/ui/FilesListPage.h"

#include "app/ui/TForm1.h"

FilesListPage::FilesListPage(TForm1& main) : main_(main) { setObjectName("FilesList"); }

void FilesListPage::FilesListShow() {}
void FilesListPage::setUpGrid() {}
void FilesListPage::FitColumn(int) {}
