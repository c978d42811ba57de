#include "SuiteWindow.h"

#include <QtGlobal>

#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

SuiteWindowDetector& Override()
{
    static SuiteWindowDetector detector;
    return detector;
}

bool PlatformSuiteWindowExists()
{
#ifdef Q_OS_WIN
    // Any top-level window of the class, whatever its title.
    return FindWindowW(L"TfrmVuvOzaru", nullptr) != nullptr;
#else
    return false;
#endif
}

} // namespace

bool SuiteMainWindowExists()
{
    if (Override())
        return Override()();
    return PlatformSuiteWindowExists();
}

void SetSuiteWindowDetector(SuiteWindowDetector detector)
{
    Override() = std::move(detector);
}
