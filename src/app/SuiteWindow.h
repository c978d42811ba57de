#pragma once

#include <functional>

// Whether the main window of the thread-and-gauges suite (window class
// "TfrmVuvOzaru") is open on the desktop. While it is, this program leaves its
// stored settings alone at close: the suite owns them then.
//
// On Windows the desktop is asked for a top-level window of that class. Other
// platforms have no such query, so there the answer is always no and the
// settings are always stored.
bool SuiteMainWindowExists();

// Tests stand in for the desktop with a detector of their own; an empty one
// goes back to the platform's answer.
using SuiteWindowDetector = std::function<bool()>;
void SetSuiteWindowDetector(SuiteWindowDetector detector);
