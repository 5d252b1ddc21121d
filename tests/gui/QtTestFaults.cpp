#include "FakeServices.h"

#include <QTest>

namespace {

// Compiled into each widget test: an unscripted prompt or a file a test cannot read fails
// the test function that runs.
const bool installed = [] {
    SetTestFaultReporter(
        [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    return true;
}();

} // namespace
