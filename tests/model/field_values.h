// Projects for the tests that walk the field table: every row given a value other than
// its start-up one, so a row that is not carried shows up as a difference.
#ifndef ZK_TESTS_MODEL_FIELD_VALUES_H
#define ZK_TESTS_MODEL_FIELD_VALUES_H

#include <string>

#include "model/project_fields.h"
#include "model/setup_project.h"

// Texts and numbers differ from row to row, so two rows sharing a key or a control cannot
// both read back. wideNumbers: numbers other than 0 and 1, for a file (a check box holds
// only those); an option pair holds 0 or 1 everywhere.
inline SetupProject EveryFieldChanged(bool wideNumbers) {
  SetupProject p = DefaultProject();
  int n = 0;
  for (const ProjectField& f : kProjectFields) {
    ++n;
    if (f.text)
      p.*f.text = "value " + std::to_string(n) + " of " + f.key;
    else if (wideNumbers && f.kind != FieldKind::Option)
      p.*f.number = 100 + n;
    else
      p.*f.number = f.initialNumber ? 0 : 1;
  }
  return p;
}

// A project with only row f changed from the start-up values.
inline SetupProject OneFieldChanged(const ProjectField& f) {
  SetupProject p = DefaultProject();
  SetupProject changed = EveryFieldChanged(false);
  if (f.text)
    p.*f.text = changed.*f.text;
  else
    p.*f.number = changed.*f.number;
  return p;
}

#endif
