// The field table itself: one row per member, rows a project file and the main window can
// keep apart, and the values of a new window and of New.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/field_values.h"
#include "model/project_fields.h"
#include "model/setup_project.h"

namespace {

// Counts the members of an aggregate: the most initialisers a brace list takes. AnyMember
// turns into whatever a member is; it is never called, only named in decltype.
struct AnyMember {
  template <typename T>
  operator T() const;
};

template <typename T, typename... Members>
constexpr auto TakesInitialisers(int) -> decltype(T{Members{}...}, true) {
  return true;
}
template <typename T, typename... Members>
constexpr bool TakesInitialisers(...) {
  return false;
}

template <typename T, typename... Members>
constexpr size_t MemberCount() {
  if constexpr (TakesInitialisers<T, Members..., AnyMember>(0))
    return MemberCount<T, Members..., AnyMember>();
  else
    return sizeof...(Members);
}

// The members beside the table: checked languages, five lists and the licence text.
constexpr size_t kListMembers = 7;

// A member added to SetupProject without its row would be neither saved, bound, reset
// nor compared.
TEST(ProjectFields, EveryMemberHasOneRow) {
  EXPECT_EQ(MemberCount<SetupProject>(), std::size(kProjectFields) + kListMembers)
      << "a member of SetupProject has no row in kProjectFields (or a row was added without its member)";
  for (const ProjectField& f : kProjectFields) {
    SCOPED_TRACE(f.key);
    EXPECT_NE(f.text == nullptr, f.number == nullptr) << "a row names exactly one member";
    EXPECT_EQ(f.text != nullptr, f.kind == FieldKind::Text);
    int rows = 0;
    for (const ProjectField& g : kProjectFields) rows += f.text ? g.text == f.text : g.number == f.number;
    EXPECT_EQ(rows, 1) << "member named by more than one row";
  }
}

// The codec starts a group at its first row, so a group's rows must be adjacent; a key
// used twice in a group, or a control held by two rows, would lose one of the values.
TEST(ProjectFields, KeysAndControlsAreOwnedByOneRow) {
  std::set<std::string> closedGroups;
  std::set<std::pair<std::string, std::string>> keys;
  std::set<int> controls;
  std::string group;
  for (const ProjectField& f : kProjectFields) {
    SCOPED_TRACE(f.key);
    if (group != f.group) {
      if (!group.empty()) closedGroups.insert(group);
      group = f.group;
      EXPECT_EQ(closedGroups.count(group), 0u) << "group " << group << " comes back after another";
    }
    EXPECT_TRUE(keys.insert({f.group, f.key}).second);
    if (f.copyKey) {
      EXPECT_TRUE(keys.insert({f.group, f.copyKey}).second);
    }
    EXPECT_TRUE(controls.insert(f.control).second) << "control " << f.control;
    if (f.kind == FieldKind::Option) {
      EXPECT_TRUE(controls.insert(f.otherControl).second) << "control " << f.otherControl;
      EXPECT_NE(f.copyKey, nullptr);
    }
    if (f.kind == FieldKind::Text) {
      EXPECT_STRNE(f.label, "") << "a text row names its field in messages";
    }
  }
}

// New differs from a new window in two settings only, as users of the old tool know it:
// desktop shortcuts for all users are checked, and the start-menu folder has no trailing "\".
TEST(ProjectFields, NewDiffersFromStartUpInTwoSettings) {
  SetupProject start = DefaultProject();
  SetupProject reset = ProjectAfterNew();
  std::vector<std::string> differing;
  for (const ProjectField& f : kProjectFields)
    if (!SameField(f, start, reset)) differing.push_back(f.key);
  EXPECT_EQ(differing, (std::vector<std::string>{"DFA", "Shortcut path"}));
  EXPECT_EQ(reset.desktopAllUsers, 1);
  EXPECT_EQ(reset.startMenuFolder, "<company>\\<appname>");
  EXPECT_EQ(start.startMenuFolder, "<company>\\<appname>\\");
}

TEST(ProjectFields, ProjectsDifferingInOneFieldAreUnequal) {
  const SetupProject start = DefaultProject();
  for (const ProjectField& f : kProjectFields) {
    SCOPED_TRACE(f.key);
    SetupProject changed = OneFieldChanged(f);
    EXPECT_FALSE(changed == start);
    EXPECT_TRUE(changed != start);
    EXPECT_TRUE(changed == OneFieldChanged(f));
  }
  std::vector<SetupProject> lists(kListMembers, start);
  lists[0].checkedLanguages = {0};
  lists[1].files = {{"a", "1 Byte", "txt"}};
  lists[2].registry = {{"HKEY_CURRENT_USER", "Software", "v", "d", 0}};
  lists[3].shortcuts = {{"Desktop", "n", "t", ""}};
  lists[4].variables = {{"V", "HKEY_CURRENT_USER", "Software", "v", ""}};
  lists[5].commands = {{"Shell execute", "p", "", ""}};
  lists[6].licenceRtf = "{\\rtf1}";
  for (size_t i = 0; i < lists.size(); ++i) EXPECT_FALSE(lists[i] == start) << "list member " << i;
  // A flag of a registry row counts too.
  SetupProject flagged = lists[2];
  flagged.registry[0].removeFlag = 1;
  EXPECT_FALSE(flagged == lists[2]);
}

}  // namespace
