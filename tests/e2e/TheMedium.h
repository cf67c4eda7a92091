#pragma once

#include "e2e/MediumTexts.h"

namespace e2e {

// The medium under test. The driver loads it before any test is registered, so that the
// tests can be instantiated per language.
const Medium& TheMedium();

// Control identifiers of the main dialog.
enum MainControl {
  kActionButton = 3,
  kAboutButton = 7,
  kExitButton = 8,
  kLanguageBox = 9,
  kTitle = 10,
  kLanguageLabel = 11,
  kVersionLine = 12,
};

}  // namespace e2e
