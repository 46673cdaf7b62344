// The field table against the real main window, built in-process: every row's control
// exists, is of the row's kind, takes the row's value and gives it back, so a setting
// cannot be added to the table without its control. A new window and New hold the
// table's values.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/builtin_images.h"
#include "app/controls.h"
#include "app/exbar/exbar.h"
#include "app/mainwindow.h"
#include "app/project/project_binding.h"
#include "common/gui.h"
#include "model/field_values.h"
#include "model/project_fields.h"
#include "tovrel/tovrel.h"

namespace {

// The rows whose values differ, by key, for the messages.
std::string DifferingFields(const SetupProject& a, const SetupProject& b) {
  std::string keys;
  for (const ProjectField& f : kProjectFields)
    if (!SameField(f, a, b)) keys += std::string(keys.empty() ? "" : ", ") + f.group + "/" + f.key;
  return keys;
}

bool SameFields(const SetupProject& a, const SetupProject& b) { return DifferingFields(a, b).empty(); }

class FieldBindingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitToolkit();
    StartToolkit();
    InitExBar();
    ASSERT_EQ(CreateMainWindow(BuiltinImages{}), 1);
  }
  static void TearDownTestSuite() { CloseRuntimeWindow(ctl::kMainWindow); }
};

// Ordered first: the window as it was built, before any test wrote to it.
TEST_F(FieldBindingTest, ANewWindowHoldsTheStartUpValues) {
  SetupProject read = ReadProjectFromControls();
  EXPECT_TRUE(SameFields(read, DefaultProject())) << DifferingFields(read, DefaultProject());
  EXPECT_TRUE(read.files.empty() && read.registry.empty() && read.shortcuts.empty() && read.variables.empty() &&
              read.commands.empty() && read.checkedLanguages.empty());
}

bool KindFits(const ProjectField& f, ControlKind kind) {
  switch (f.kind) {
    case FieldKind::Text:
      return kind == ControlKind::Text;
    case FieldKind::Number:
    case FieldKind::ValNumber:
      return kind == ControlKind::CheckBox || kind == ControlKind::Combo;
    case FieldKind::Option:
      return kind == ControlKind::Option;
  }
  return false;
}

// One row at a time, the others at their start-up values: the row's own control shows
// the change and the whole project reads back.
TEST_F(FieldBindingTest, EveryRowIsBoundToItsControlAndReadBack) {
  for (const ProjectField& f : kProjectFields) {
    SCOPED_TRACE(std::string(f.group) + "/" + f.key);
    ASSERT_NE(ControlHandle(f.control), nullptr) << "no control " << f.control;
    EXPECT_TRUE(KindFits(f, GetControlKind(f.control))) << "control " << f.control << " is of another kind";
    if (f.kind == FieldKind::Option) {
      EXPECT_EQ(GetControlKind(f.otherControl), ControlKind::Option);
    }

    SetupProject written = OneFieldChanged(f);
    WriteProjectToControls(written);
    if (f.text) {
      EXPECT_EQ(GetControlText(f.control), written.*f.text);
    } else {
      EXPECT_EQ(GetControlState(f.control), written.*f.number);
    }
    SetupProject read = ReadProjectFromControls();
    EXPECT_TRUE(SameFields(read, written)) << DifferingFields(read, written);
  }
}

// Every row changed at once, texts all different: two rows bound to one control would
// read back the same text.
TEST_F(FieldBindingTest, AllRowsTogetherReadBack) {
  SetupProject written = EveryFieldChanged(false);
  WriteProjectToControls(written);
  SetupProject read = ReadProjectFromControls();
  EXPECT_TRUE(SameFields(read, written)) << DifferingFields(read, written);
}

// Both options of a pair are set: after the second option, New leaves the first one
// selected alone, not both.
TEST_F(FieldBindingTest, NewPutsTheTableValuesBack) {
  SetupProject changed = EveryFieldChanged(false);
  changed.files = {{"C:\\a.txt", "1 Byte", "txt"}};
  changed.commands = {{"Shell execute", "x", "", ""}};
  WriteProjectToControls(changed);
  ASSERT_EQ(GetControlState(ctl::kStyle2000), 1);

  ResetProject();
  SetupProject read = ReadProjectFromControls();
  EXPECT_TRUE(SameFields(read, ProjectAfterNew())) << DifferingFields(read, ProjectAfterNew());
  EXPECT_TRUE(read.files.empty());
  EXPECT_TRUE(read.commands.empty());
  EXPECT_EQ(GetControlState(ctl::kStyleXP), 1);
  EXPECT_EQ(GetControlState(ctl::kStyle2000), 0);
}

}  // namespace
