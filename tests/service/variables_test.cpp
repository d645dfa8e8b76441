#include <gtest/gtest.h>

#include "service/variables.h"

namespace {

TEST(VariablesView, ShowsTheNineSettingsUnderTheirLabels) {
  app::Settings s;
  s.FilePath = R"(C:\CS\)";
  s.CSDir = R"(C:\Games\cstrike)";
  s.ListUpdate = "3";
  EXPECT_EQ(service::variablesText(s),
            "FileDir: \"C:\\CS\\\"\r\n"
            "CSDir: \"C:\\Games\\cstrike\"\r\n"
            "CSFile: \"\"\r\n"
            "CSRunParam: \"\"\r\n"
            "FilesListDate: \"\"\r\n"
            "FilesListDir: \"\"\r\n"
            "FilesInfoDir: \"\"\r\n"
            "ListUpdateType: \"3\"\r\n"
            "AddFilesType: \"\"");
}

TEST(VariablesView, EachLabelShowsItsOwnField) {
  app::Settings s;
  s.FilePath = "p/";
  s.CSDir = "d";
  s.CSFile = "f";
  s.RunParam = "-r";
  s.FilesListDate = "01.02.2003";
  s.FilesListDir = "l";
  s.FilesInfoDir = "i";
  s.ListUpdate = "4";
  s.AddFilesType = "1";
  EXPECT_EQ(service::variablesText(s),
            "FileDir: \"p/\"\r\nCSDir: \"d\"\r\nCSFile: \"f\"\r\nCSRunParam: \"-r\"\r\nFilesListDate: \"01.02.2003\"\r\n"
            "FilesListDir: \"l\"\r\nFilesInfoDir: \"i\"\r\nListUpdateType: \"4\"\r\nAddFilesType: \"1\"");
}

}  // namespace
